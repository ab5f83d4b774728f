#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// A URL from a text written by the maker: an empty text, or one that does not parse
// strictly, is no URL.
std::optional<QUrl> parseURL(const QString &text);

// True when the text's scheme, as written before the first ":", is exactly "https":
// "HTTPS:" is refused although URL parsers fold the case.
bool hasHTTPSScheme(const QString &text);
