// Finding the installed copies of a 50-app catalog on a desktop with many applications:
// 2000 ordinary .desktop entries in the system's folder, the apps in the user's Applications
// folder, half of them also in the app register (as the store registers what it installs). The scan is
// printed as a ratio to reading every entry once, the least a scan of the register costs.
#include "harness/bundlefactory.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"

#include "bench/benchtiming.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <cstdio>

using namespace CatalogFixtures;

namespace {

constexpr int appCount = 50;
constexpr int entryCount = 2000;

// An entry as desktops ship them, with a few translations: about 1 KiB.
QByteArray ordinaryEntry(int index)
{
    const QByteArray n = QByteArray::number(index);
    QByteArray entry = "[Desktop Entry]\nType=Application\nName=Tool " + n + "\nExec=/usr/bin/tool-" + n +
                       " %U\nIcon=tool-" + n + "\nCategories=Utility;Development;\nTerminal=false\n";
    for (const char *language : {"de", "fr", "es", "it", "ja", "pt_BR", "ru", "zh_CN"})
        entry += "Name[" + QByteArray(language) + "]=Tool " + n + "\nComment[" + QByteArray(language) +
                 "]=Does the work of tool number " + n + " on every file it is given\n";
    return entry;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    TestServer catalogServer;
    Signer signer;
    QList<QJsonObject> records;
    for (int i = 0; i < appCount; ++i) {
        QJsonObject record = app(QStringLiteral("app-%1").arg(i));
        record.insert(QStringLiteral("appcastURL"), catalogServer.url(QStringLiteral("/no-feed.xml")).toString());
        records.append(record);
    }
    catalogServer.respond("/v1/catalog", HttpResponse::ok(signer.envelopeOf(records), "application/json"));
    ModelFixture fixture(signer, catalogServer.url());
    const Locations &locations = fixture.environment.locations;

    const QString systemEntries = locations.dataDirs.first() + QStringLiteral("/applications/");
    for (int i = 0; i < entryCount; ++i)
        writeTestFile(systemEntries + QStringLiteral("tool-%1.desktop").arg(i), ordinaryEntry(i));
    for (int i = 0; i < appCount; ++i) {
        const QString id = QStringLiteral("com.orvel.app-%1").arg(i);
        const QString bundle =
            BundleFactory::write(locations.userApplications() + QStringLiteral("/App %1.app").arg(i),
                                 BundleFactory::info(id, QStringLiteral("1.0"), QStringLiteral("1")));
        if (i % 2 && !fixture.environment.registry->registerApplication(bundle))
            qFatal("cannot register %s", qPrintable(bundle));
    }

    QLoggingCategory::setFilterRules(QStringLiteral("tessel.*=false")); // the feeds' 404s
    const auto model = fixture.makeModel();
    QCoro::waitFor(model->load());
    if (model->apps().size() != appCount)
        qFatal("the catalog did not load");

    qint64 bytes = 0;
    const double readOnce = bestMilliseconds(5, [&] {
        bytes = 0;
        const QDir folder(systemEntries);
        for (const QString &name : folder.entryList({QStringLiteral("*.desktop")}, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                bytes += file.readAll().size();
        }
    });
    const double scan = bestMilliseconds(5, [&] { model->scanInstalled(); });
    if (model->installed().size() != appCount)
        qFatal("the scan found %lld of %d copies", qint64(model->installed().size()), appCount);

    std::printf("finding %d apps' copies among %d desktop entries (%.1f MiB)\n", appCount, entryCount,
                bytes / 1048576.0);
    std::printf("  reading every entry once (base): %8.2f ms\n", readOnce);
    std::printf("  scanInstalled():                 %8.2f ms  ratio %.2f\n", scan, scan / readOnce);
    return 0;
}
