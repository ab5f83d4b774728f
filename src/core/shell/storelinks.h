#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Addresses of the app pages on the maker's web site, in the user's language where the
// site has an edition for it.
namespace StoreLinks {

// The folder of the site's edition for a language tag ("pt-BR" → "pt-br"), or nothing for
// English and every language without an edition.
std::optional<QString> siteLanguage(QStringView tag);

// The app's page; for a product without a page, the site's apps overview.
QUrl appPageURL(const QString &productID, QStringView language);

} // namespace StoreLinks
