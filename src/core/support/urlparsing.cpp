#include "support/urlparsing.h"

std::optional<QUrl> parseURL(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    QUrl url(text, QUrl::StrictMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

bool hasHTTPSScheme(const QString &text)
{
    return text.startsWith(QLatin1String("https:"));
}
