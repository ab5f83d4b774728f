#include "shell/resourcebundlelocator.h"

#include <QStringList>

namespace ResourceBundleLocator {

std::optional<QString> url(const QString &named, const std::optional<QString> &resourceURL, const QString &bundleURL,
                           const std::function<bool(const QString &)> &fileExists)
{
    QStringList candidates;
    if (resourceURL)
        candidates.append(*resourceURL + u'/' + named);
    candidates.append(bundleURL + u'/' + named);
    for (const QString &candidate : std::as_const(candidates)) {
        if (fileExists(candidate))
            return candidate;
    }
    return std::nullopt;
}

} // namespace ResourceBundleLocator
