#include "crypto/base64.h"

#include <QString>

#include <array>

namespace Base64 {
namespace {

// Each ASCII character's value in the standard alphabet, -1 for those outside it.
constexpr std::array<qint8, 128> sextets = [] {
    std::array<qint8, 128> table{};
    table.fill(-1);
    for (int i = 0; i < 26; ++i) {
        table[size_t('A' + i)] = qint8(i);
        table[size_t('a' + i)] = qint8(26 + i);
    }
    for (int i = 0; i < 10; ++i)
        table[size_t('0' + i)] = qint8(52 + i);
    table[size_t('+')] = 62;
    table[size_t('/')] = 63;
    return table;
}();

int sextet(char16_t c)
{
    return c < sextets.size() ? sextets[c] : -1;
}

} // namespace

std::optional<QByteArray> decode(QStringView text)
{
    if (text.size() % 4 != 0)
        return std::nullopt;
    // Written in place, not appended: a catalog is megabytes of this.
    QByteArray out(text.size() / 4 * 3, Qt::Uninitialized);
    char *to = out.data();
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
        *to++ = char(group >> 16);
        if (padding < 2)
            *to++ = char(group >> 8);
        if (padding < 1)
            *to++ = char(group);
    }
    out.truncate(to - out.data());
    return out;
}

std::optional<QByteArray> decodeURL(QStringView text)
{
    const qsizetype padded = (text.size() + 3) / 4 * 4;
    QString standard(padded, u'=');
    QChar *to = standard.data();
    for (const QChar c : text)
        *to++ = c == u'-' ? u'+' : c == u'_' ? u'/' : c;
    return decode(standard);
}

QByteArray encodeURL(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace Base64
