// Update All of 50 apps whose archives are 20 MB each, from one HTTP/2 host, against the
// update of one such app on the same host: wall time, CPU used, peak resident memory above
// what the process held before, and the most file descriptors and threads open at once.
//
//   bench_updateall [MIB]     archives of MIB MiB (20 by default), to see what grows with them
#include "codesign/bundlesignatureverifier.h"
#include "harness/appshelf.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "model/storemodel.h"

#include "bench/http2host.h"
#include "bench/processstatus.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace CatalogFixtures;

namespace {

constexpr int appCount = 50;

qint64 openDescriptors()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

// Lets the kernel measure the resident peak from now on (Linux's clear_refs "5").
void resetPeakResident()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (!refs.open(QIODevice::WriteOnly) || refs.write("5") != 1)
        qFatal("cannot reset the resident peak");
}

// Random bytes, so the archive stays as large as the app.
QByteArray incompressible(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator generator(42);
    generator.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

// The maker's site on the host: each app's feed and its archive of build 2, and two
// catalogs, "one/" with the first app and "all/" with every app.
class Site
{
public:
    Site(ReleaseFactory &releases, qsizetype archiveBytes) : m_releases(releases)
    {
        // Base64 in a comment of the app's script: it deflates back to about the random bytes' size.
        const QByteArray program = "#!/bin/sh\n# " + incompressible(archiveBytes).toBase64() + "\n";
        for (int i = 0; i < appCount; ++i) {
            const QString id = QStringLiteral("app-%1").arg(i);
            const QString bundle = releases.app(id, QStringLiteral("com.orvel.") + id, QStringLiteral("2"), program);
            const QString archive = path(QStringLiteral("archives/%1-2.zip").arg(id));
            QDir().mkpath(QFileInfo(archive).absolutePath());
            if (QProcess::execute(QStringLiteral("bsdtar"),
                                  {QStringLiteral("-a"), QStringLiteral("-cf"), archive, QStringLiteral("-C"),
                                   QFileInfo(bundle).absolutePath(), QFileInfo(bundle).fileName()}) != 0)
                qFatal("cannot zip %s", qPrintable(bundle));
            QDir(QFileInfo(bundle).absolutePath()).removeRecursively();
            QFile file(archive);
            if (!file.open(QIODevice::ReadOnly))
                qFatal("cannot read %s", qPrintable(archive));
            m_signatures.append(releases.signature(file.readAll()));
            m_totalBytes += file.size();
        }
    }

    QString path(const QString &name) const { return m_folder.filePath(name); }
    qint64 totalBytes() const { return m_totalBytes; }

    // Writes the feeds and both catalogs for the host's addresses.
    void publish(const Http2Host &host, const Signer &signer) const
    {
        QList<QJsonObject> records;
        for (int i = 0; i < appCount; ++i) {
            const QString id = QStringLiteral("app-%1").arg(i);
            const QString archiveURL = host.url(QStringLiteral("archives/%1-2.zip").arg(id)).toString();
            writeTestFile(path(QStringLiteral("feeds/%1.xml").arg(id)),
                          AppShelf::feed(QStringLiteral("2"), archiveURL, m_signatures[i]));
            QJsonObject record = app(id);
            record.insert(QStringLiteral("appcastURL"), host.url(QStringLiteral("feeds/%1.xml").arg(id)).toString());
            record.insert(QStringLiteral("sparklePublicKey"), m_releases.archivePublicKey());
            records.append(record);
        }
        writeTestFile(path(QStringLiteral("one/v1/catalog")), signer.envelopeOf(records.mid(0, 1)));
        writeTestFile(path(QStringLiteral("all/v1/catalog")), signer.envelopeOf(records));
    }

private:
    ReleaseFactory &m_releases;
    QTemporaryDir m_folder;
    QStringList m_signatures;
    qint64 m_totalBytes = 0;
};

struct Run
{
    double wallMilliseconds = 0;
    double cpuMilliseconds = 0;
    double peakMiB = 0;          // above the resident size before the run
    double peakAnonymousMiB = 0; // of it, the process's own memory (sampled), not mapped files
    qint64 descriptors = 0;      // the most open at once, beyond those before the run
    qint64 threads = 0;          // the most at once
};

// Updates every app of the catalog at this address from build 1 to build 2.
Run updateAll(const Signer &signer, ReleaseFactory &releases, const QUrl &service, int apps)
{
    ModelFixture fixture(signer, service);
    fixture.session()->setTransferTimeout(120'000);
    fixture.environment.verifier = std::make_shared<BundleSignatureVerifier>(releases.anchors());
    for (int i = 0; i < apps; ++i) {
        const QString id = QStringLiteral("app-%1").arg(i);
        const QString made = releases.app(id, QStringLiteral("com.orvel.") + id, QStringLiteral("1"));
        QDir().mkpath(fixture.environment.locations.userApplications());
        if (QProcess::execute(QStringLiteral("cp"),
                              {QStringLiteral("-a"), made, fixture.environment.locations.userApplications()}) != 0)
            qFatal("cannot put %s in place", qPrintable(made));
    }
    const auto model = AppShelf::loadedModel(fixture);
    if (model->updates().size() != apps)
        qFatal("%lld of %d updates offered", qint64(model->updates().size()), apps);

    Run run;
    const qint64 descriptorsBefore = openDescriptors();
    const qint64 residentBefore = processStatus("VmRSS");
    const qint64 anonymousBefore = processStatus("RssAnon");
    QTimer sampler;
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        run.descriptors = std::max(run.descriptors, openDescriptors() - descriptorsBefore);
        run.threads = std::max(run.threads, processStatus("Threads"));
        run.peakAnonymousMiB = std::max(run.peakAnonymousMiB, (processStatus("RssAnon") - anonymousBefore) / 1024.0);
    });
    sampler.start(10);
    resetPeakResident();
    const double cpuBefore = cpuMilliseconds();
    QElapsedTimer timer;
    timer.start();
    QCoro::waitFor(model->updateAll());
    run.wallMilliseconds = timer.nsecsElapsed() / 1e6;
    run.cpuMilliseconds = cpuMilliseconds() - cpuBefore;
    run.peakMiB = (processStatus("VmHWM") - residentBefore) / 1024.0;
    if (!model->updates().isEmpty())
        qFatal("%lld apps were not updated", qint64(model->updates().size()));
    return run;
}

void print(const char *label, const Run &run)
{
    std::printf("  %-16s %6.0f ms wall, %6.0f ms CPU (%.2f cores), peak +%5.1f MiB (+%5.1f MiB own), +%lld "
                "descriptors, %lld threads\n",
                label, run.wallMilliseconds, run.cpuMilliseconds, run.cpuMilliseconds / run.wallMilliseconds,
                run.peakMiB, run.peakAnonymousMiB, run.descriptors, run.threads);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir work;
    ReleaseFactory releases(work.path());
    const Signer signer;
    const qsizetype mebibytes = QCoreApplication::arguments().value(1, QStringLiteral("20")).toLongLong();
    const Site site(releases, mebibytes << 20);
    Http2Host host(site.path(QString()), 0);
    site.publish(host, signer);

    const Run one = updateAll(signer, releases, host.url(QStringLiteral("one/")), 1);
    const Run all = updateAll(signer, releases, host.url(QStringLiteral("all/")), appCount);
    const QByteArray seen = host.finish();
    std::printf("Update All from one HTTP/2 host, archives of %.1f MiB (%.0f MiB in all)\n",
                site.totalBytes() / appCount / 1048576.0, site.totalBytes() / 1048576.0);
    print("one app (base):", one);
    print("50 apps:", all);
    std::printf("  ratio of wall times %.2f for %d times the bytes; the host saw over both: %s\n",
                all.wallMilliseconds / one.wallMilliseconds, appCount, seen.constData());
    return 0;
}
