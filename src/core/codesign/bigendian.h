#pragma once

#include <QByteArrayView>
#include <optional>

// Bounds-checked big-endian reads: every integer in a code signature is big-endian, and
// every offset in one comes from the bytes being checked.
class BigEndian
{
public:
    explicit BigEndian(QByteArrayView bytes) : m_bytes(bytes) {}

    std::optional<quint32> u32(quint64 offset) const { return read<quint32>(offset); }
    std::optional<quint64> u64(quint64 offset) const { return read<quint64>(offset); }
    std::optional<quint8> u8(quint64 offset) const { return read<quint8>(offset); }

    // Whether [offset, offset + length) lies inside the bytes, without overflow.
    bool contains(quint64 offset, quint64 length) const
    {
        const quint64 size = quint64(m_bytes.size());
        return offset <= size && length <= size - offset;
    }

private:
    template<typename T> std::optional<T> read(quint64 offset) const
    {
        if (!contains(offset, sizeof(T)))
            return std::nullopt;
        T value = 0;
        for (size_t i = 0; i < sizeof(T); ++i)
            value = T((value << 8) | T(quint8(m_bytes[qsizetype(offset + i)])));
        return value;
    }

    QByteArrayView m_bytes;
};
