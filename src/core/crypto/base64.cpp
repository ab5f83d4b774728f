#include "crypto/base64.h"

#include <QString>

namespace Base64 {
namespace {

int sextet(char16_t c)
{
    if (c >= u'A' && c <= u'Z')
        return c - u'A';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 26;
    if (c >= u'0' && c <= u'9')
        return c - u'0' + 52;
    if (c == u'+')
        return 62;
    if (c == u'/')
        return 63;
    return -1;
}

} // namespace

std::optional<QByteArray> decode(QStringView text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    QByteArray out;
    out.reserve(text.size() / 4 * 3);
    for (qsizetype at = 0; at < text.size(); at += 4) {
        const bool last = at + 4 == text.size();
        int padding = 0;
        quint32 group = 0;
        for (int i = 0; i < 4; ++i) {
            const char16_t c = text[at + i].unicode();
            if (c == u'=') {
                // Padding only closes the final group, and never more than two characters.
                if (!last || i < 2)
                    return std::nullopt;
                ++padding;
                group <<= 6;
                continue;
            }
            const int value = sextet(c);
            if (value < 0 || padding > 0)
                return std::nullopt;
            group = (group << 6) | quint32(value);
        }
        out.append(char(group >> 16));
        if (padding < 2)
            out.append(char(group >> 8));
        if (padding < 1)
            out.append(char(group));
    }
    return out;
}

std::optional<QByteArray> decodeURL(QStringView text)
{
    QString standard;
    standard.reserve(text.size() + 3);
    for (const QChar c : text)
        standard.append(c == u'-' ? u'+' : c == u'_' ? u'/' : c);
    while (standard.size() % 4 != 0)
        standard.append(u'=');
    return decode(standard);
}

QByteArray encodeURL(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace Base64
