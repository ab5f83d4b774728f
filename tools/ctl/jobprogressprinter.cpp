#include "ctl/jobprogressprinter.h"

#include "common/commandline.h"
#include "model/storemodel.h"
#include "presentation/appstate.h"

#include <QLocale>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int barWidth = 24;

QString bar(double fraction)
{
    const int filled = int(fraction * barWidth);
    return u'[' + QString(filled, u'#') + QString(barWidth - filled, u'-') + u']';
}

} // namespace

JobProgressPrinter::JobProgressPrinter(const StoreModel &model, QList<CatalogApp> apps)
    : m_model(model), m_apps(std::move(apps)), m_terminal(isatty(STDERR_FILENO) == 1)
{
    connect(&model, &StoreModel::jobsChanged, this, &JobProgressPrinter::update);
}

void JobProgressPrinter::update()
{
    QStringList parts;
    for (const CatalogApp &app : std::as_const(m_apps)) {
        const AppState state = AppState::of(m_model, app);
        if (state.action != AppState::Action::Installing)
            continue;
        const int percent = int(state.progress * 100);
        if (m_terminal) {
            const QString transfer = transferLine(app, state.progress);
            parts.append(QStringLiteral("%1 %2 %3%").arg(app.name, bar(state.progress)).arg(percent, 3) +
                         (transfer.isEmpty() ? QString() : QStringLiteral("  ") + transfer));
        } else if (percent / 10 > m_shownTenths.value(app.productID, -1)) {
            m_shownTenths.insert(app.productID, percent / 10);
            printError(QStringLiteral("%1: %2%").arg(app.name).arg(percent));
        }
    }
    if (m_terminal && !parts.isEmpty()) {
        // Clear to the end of the line: the new text may be shorter than the last.
        std::fputs(qPrintable(u'\r' + parts.join(QStringLiteral("  ")) + QStringLiteral("\x1b[K")), stderr);
        std::fflush(stderr);
        m_drawn = true;
    }
}

QString JobProgressPrinter::transferLine(const CatalogApp &app, double fraction)
{
    QElapsedTimer &started = m_started[app.productID];
    if (!started.isValid())
        started.start();
    const auto release = m_model.releases().constFind(app.productID);
    if (release == m_model.releases().constEnd() || !release->length || *release->length <= 0)
        return {};
    const QLocale locale;
    const qint64 total = *release->length;
    const auto received = qint64(fraction * double(total));
    QString line = QStringLiteral("%1 of %2").arg(locale.formattedDataSize(received), locale.formattedDataSize(total));
    const double seconds = double(started.elapsed()) / 1000;
    if (seconds < 1 || received <= 0)
        return line;
    const double rate = double(received) / seconds;
    const auto left = qint64(double(total - received) / rate);
    return line + QStringLiteral(", %1/s, %2 s left").arg(locale.formattedDataSize(qint64(rate))).arg(left);
}

void JobProgressPrinter::finish()
{
    if (m_drawn)
        std::fputs("\n", stderr);
    m_drawn = false;
}
