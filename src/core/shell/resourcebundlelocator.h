#pragma once

#include <QString>
#include <functional>
#include <optional>

// Finds the store's resource bundle (texts, icons): inside the application's resources
// first, then beside the bundle.
namespace ResourceBundleLocator {

std::optional<QString> url(const QString &named, const std::optional<QString> &resourceURL, const QString &bundleURL,
                           const std::function<bool(const QString &)> &fileExists);

} // namespace ResourceBundleLocator
