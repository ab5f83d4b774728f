#include "shell/storelinks.h"

#include <array>
#include <utility>

namespace StoreLinks {
namespace {

const QString siteBase = QStringLiteral("https://orvel.example/");

// productID → the slug of its page.
const std::array<std::pair<QStringView, QStringView>, 3> productPages{{
    {u"lumen", u"lumen"},
    {u"quire", u"quire"},
    {u"tally", u"tally"},
}};

// The first row whose prefix matches wins, so the Traditional Chinese rows come before "zh".
const std::array<std::pair<QStringView, QStringView>, 18> siteLanguages{{
    {u"zh-hant", u"zh-hant"},
    {u"zh-tw", u"zh-hant"},
    {u"zh-hk", u"zh-hant"},
    {u"zh", u"zh-hans"},
    {u"pt", u"pt-br"},
    {u"es", u"es"},
    {u"ja", u"ja"},
    {u"ru", u"ru"},
    {u"de", u"de"},
    {u"fr", u"fr"},
    {u"id", u"id"},
    {u"it", u"it"},
    {u"ko", u"ko"},
    {u"vi", u"vi"},
    {u"tr", u"tr"},
    {u"nl", u"nl"},
    {u"pl", u"pl"},
    {u"th", u"th"},
}};

QUrl page(const QString &path, QStringView language)
{
    const std::optional<QString> edition = siteLanguage(language);
    return QUrl(siteBase + (edition ? *edition + u'/' : QString()) + path);
}

} // namespace

std::optional<QString> siteLanguage(QStringView tag)
{
    const QString normalised = tag.toString().replace(u'_', u'-').toLower();
    for (const auto &[prefix, slug] : siteLanguages) {
        if (normalised == prefix ||
            (normalised.startsWith(prefix) && normalised.sliced(prefix.size()).startsWith(u'-')))
            return slug.toString();
    }
    return std::nullopt;
}

QUrl appPageURL(const QString &productID, QStringView language)
{
    for (const auto &[product, slug] : productPages) {
        if (product == productID)
            return page(QStringLiteral("apps/") + slug.toString() + u'/', language);
    }
    return page(QStringLiteral("apps/"), language);
}

} // namespace StoreLinks
