#include "platform/propertylist.h"

#include <QDateTime>
#include <QFile>
#include <plist/plist.h>

#include <limits>
#include <memory>

namespace PropertyList {
namespace {

using Node = std::unique_ptr<void, decltype(&plist_free)>;

// Seconds between the Unix epoch and the property-list epoch (2001-01-01).
constexpr qint64 referenceDateOffset = 978307200;

QString takeString(char *text)
{
    const QString value = QString::fromUtf8(text);
    free(text);
    return value;
}

QVariant toVariant(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return bool(value);
    }
    case PLIST_UINT: {
        uint64_t value = 0;
        plist_get_uint_val(node, &value);
        // libplist keeps every integer as unsigned 64 bits; negative ones come back as two's complement.
        return qint64(value);
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return value;
    }
    case PLIST_STRING: {
        char *text = nullptr;
        plist_get_string_val(node, &text);
        return takeString(text);
    }
    case PLIST_KEY: {
        char *text = nullptr;
        plist_get_key_val(node, &text);
        return takeString(text);
    }
    case PLIST_DATA: {
        char *bytes = nullptr;
        uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        const QByteArray value(bytes, qsizetype(length));
        free(bytes);
        return value;
    }
    case PLIST_DATE: {
        int32_t seconds = 0;
        int32_t microseconds = 0;
        plist_get_date_val(node, &seconds, &microseconds);
        return QDateTime::fromMSecsSinceEpoch((referenceDateOffset + seconds) * 1000 + microseconds / 1000, Qt::UTC);
    }
    case PLIST_ARRAY: {
        QVariantList list;
        const uint32_t count = plist_array_get_size(node);
        list.reserve(count);
        for (uint32_t i = 0; i < count; ++i)
            list.append(toVariant(plist_array_get_item(node, i)));
        return list;
    }
    case PLIST_DICT: {
        QVariantMap map;
        plist_dict_iter iterator = nullptr;
        plist_dict_new_iter(node, &iterator);
        for (;;) {
            char *key = nullptr;
            plist_t value = nullptr;
            plist_dict_next_item(node, iterator, &key, &value);
            if (!key)
                break;
            map.insert(takeString(key), toVariant(value));
        }
        free(iterator);
        return map;
    }
    default:
        return {};
    }
}

plist_t toNode(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return plist_new_bool(value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return plist_new_uint(uint64_t(value.toLongLong()));
    case QMetaType::Double:
        return plist_new_real(value.toDouble());
    case QMetaType::QString:
        return plist_new_string(value.toString().toUtf8().constData());
    case QMetaType::QByteArray: {
        const QByteArray bytes = value.toByteArray();
        return plist_new_data(bytes.constData(), uint64_t(bytes.size()));
    }
    case QMetaType::QDateTime: {
        const qint64 milliseconds = value.toDateTime().toMSecsSinceEpoch() - referenceDateOffset * 1000;
        return plist_new_date(int32_t(milliseconds / 1000), int32_t(milliseconds % 1000) * 1000);
    }
    case QMetaType::QVariantList:
    case QMetaType::QStringList: {
        plist_t array = plist_new_array();
        for (const QVariant &element : value.toList()) {
            if (plist_t node = toNode(element))
                plist_array_append_item(array, node);
        }
        return array;
    }
    case QMetaType::QVariantMap: {
        plist_t dictionary = plist_new_dict();
        const QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (plist_t node = toNode(it.value()))
                plist_dict_set_item(dictionary, it.key().toUtf8().constData(), node);
        }
        return dictionary;
    }
    default:
        return nullptr;
    }
}

} // namespace

QByteArray serialize(const QVariant &value, Format format)
{
    plist_t root = toNode(value);
    if (!root)
        return {};
    Node owner(root, &plist_free);
    char *bytes = nullptr;
    uint32_t length = 0;
    if (format == Format::XML)
        plist_to_xml(root, &bytes, &length);
    else
        plist_to_bin(root, &bytes, &length);
    const QByteArray result(bytes, qsizetype(length));
    free(bytes);
    return result;
}

std::optional<QVariant> parse(const QByteArray &bytes)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    plist_t root = nullptr;
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &root);
    if (!root)
        return std::nullopt;
    Node owner(root, &plist_free);
    return toVariant(root);
}

std::optional<QVariantMap> readDictionary(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<QVariant> value = parse(file.readAll());
    if (!value || value->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    return value->toMap();
}

} // namespace PropertyList
