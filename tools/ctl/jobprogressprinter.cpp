#include "ctl/jobprogressprinter.h"

#include "common/commandline.h"
#include "model/storemodel.h"
#include "presentation/appstate.h"

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
            parts.append(QStringLiteral("%1 %2 %3%").arg(app.name, bar(state.progress)).arg(percent, 3));
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

void JobProgressPrinter::finish()
{
    if (m_drawn)
        std::fputs("\n", stderr);
    m_drawn = false;
}
