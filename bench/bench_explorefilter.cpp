// Explore's search over a 200-app catalog: the time from a keystroke to the filtered list
// model, for each keystroke of a five-letter query, against a frame (16.7 ms) and against the
// least any filter must do, a plain scan of the same names and taglines. (The grid's delegates
// that come and go with it are the window's share, not measured here.)
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "presentation/appfiltermodel.h"
#include "presentation/applistmodel.h"

#include "bench/benchtiming.h"

#include <QCoreApplication>
#include <cstdio>
#include <qcorotask.h>

using namespace CatalogFixtures;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    // Each line as it is measured, also when the output is a pipe.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const Signer signer;
    TestServer server;
    QList<QJsonObject> apps;
    QStringList names;
    for (int i = 0; i < 200; ++i) {
        QJsonObject record = app(QStringLiteral("app%1").arg(i));
        // Names and taglines of a real shelf's length, a few sharing the query's letters.
        const QString name = (i % 20 == 0 ? QStringLiteral("Lumen ") : QStringLiteral("Quire ")) + QString::number(i);
        record.insert(QStringLiteral("name"), name);
        record.insert(
            QStringLiteral("tagline"),
            QJsonObject{{QStringLiteral("en"), QStringLiteral("Notes that bind themselves, number %1.").arg(i)}});
        apps.append(record);
        names.append(name + u' ' + QStringLiteral("Notes that bind themselves, number %1.").arg(i));
    }
    server.respond("/v1/catalog", HttpResponse::ok(signer.envelopeOf(apps), "application/json"));
    ModelFixture fixture(signer, server.url());
    const auto model = fixture.makeModel();
    QCoro::waitFor(model->load());
    AppListModel list(model.get());
    AppFilterModel filtered;
    filtered.setSourceModel(&list);
    if (filtered.count() != 200) {
        std::fprintf(stderr, "the benchmark catalog did not load: %d apps\n", filtered.count());
        return 1;
    }

    const QString query = QStringLiteral("lumen");
    std::printf("Explore search over %d apps, one keystroke at a time\n", filtered.count());
    std::printf("  %-8s %10s %10s %8s %6s\n", "query", "filter ms", "scan ms", "ratio", "shown");
    double worst = 0;
    for (int length = 1; length <= query.size(); ++length) {
        const QString typed = query.left(length);
        double filter = 1e300;
        for (int round = 0; round < 20; ++round) {
            filtered.setQuery(query.left(length - 1));
            QCoreApplication::sendPostedEvents(&filtered, QEvent::MetaCall);
            filter = std::min(filter, bestMilliseconds(1, [&] {
                                  filtered.setQuery(typed);
                                  // The filter runs once the keystroke's turn of the event loop ends, as in the window.
                                  QCoreApplication::sendPostedEvents(&filtered, QEvent::MetaCall);
                              }));
        }
        int found = 0;
        const double scan = bestMilliseconds(20, [&] {
            found = 0;
            for (const QString &text : std::as_const(names))
                found += text.contains(typed, Qt::CaseInsensitive) ? 1 : 0;
        });
        worst = std::max(worst, filter);
        std::printf("  %-8s %10.3f %10.3f %8.1f %6d\n", qPrintable(typed), filter, scan, filter / scan,
                    filtered.count());
    }
    std::printf("slowest keystroke: %.3f ms, %.1f %% of a 16.7 ms frame\n", worst, worst / 16.7 * 100);
    return 0;
}
