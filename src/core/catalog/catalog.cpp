#include "catalog/catalog.h"

#include "support/urlparsing.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

// Reads typed fields of one JSON object and remembers whether any was missing or mistyped,
// so that a record is checked field by field without a branch after every read.
class FieldReader
{
public:
    explicit FieldReader(const QJsonObject &object) : m_object(object) {}

    bool ok() const { return m_ok; }
    // The first field that was missing or mistyped.
    const QString &failedField() const { return m_failedField; }

    QString string(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isString())
            return fail<QString>(key);
        return value.toString();
    }

    QUrl url(const QString &key) { return toURL(key, string(key)); }

    qint64 integer(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        const double number = value.toDouble();
        // JSON has one number type; an integer field takes only whole numbers within range.
        if (!value.isDouble() || std::trunc(number) != number || number < -9.2e18 || number > 9.2e18)
            return fail<qint64>(key);
        return qint64(number);
    }

    QMap<QString, QString> stringMap(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isObject())
            return fail<QMap<QString, QString>>(key);
        QMap<QString, QString> map;
        const QJsonObject object = value.toObject();
        for (auto it = object.begin(); it != object.end(); ++it) {
            if (!it.value().isString())
                return fail<QMap<QString, QString>>(key);
            map.insert(it.key(), it.value().toString());
        }
        return map;
    }

    QList<QUrl> urlList(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isArray())
            return fail<QList<QUrl>>(key);
        QList<QUrl> urls;
        for (const QJsonValue element : value.toArray()) {
            if (!element.isString())
                return fail<QList<QUrl>>(key);
            urls.append(toURL(key, element.toString()));
        }
        return urls;
    }

    QJsonArray array(const QString &key)
    {
        const QJsonValue value = m_object.value(key);
        if (!value.isArray())
            return fail<QJsonArray>(key);
        return value.toArray();
    }

private:
    template<typename T> T fail(const QString &key)
    {
        if (m_ok)
            m_failedField = key;
        m_ok = false;
        return T();
    }

    QUrl toURL(const QString &key, const QString &text)
    {
        if (auto url = parseURL(text))
            return *url;
        return fail<QUrl>(key);
    }

    const QJsonObject &m_object;
    bool m_ok = true;
    QString m_failedField;
};

QString fieldProblem(const QString &field)
{
    return QStringLiteral("the field \"%1\" is missing or not of its type").arg(field);
}

Expected<CatalogApp, QString> appFromJSON(const QJsonValue &value)
{
    if (!value.isObject())
        return QStringLiteral("not an object");
    const QJsonObject object = value.toObject();
    FieldReader read(object);
    CatalogApp app{
        .productID = read.string(QStringLiteral("productID")),
        .name = read.string(QStringLiteral("name")),
        .bundleID = read.string(QStringLiteral("bundleID")),
        .teamID = read.string(QStringLiteral("teamID")),
        .appcastURL = read.url(QStringLiteral("appcastURL")),
        .sparklePublicKey = read.string(QStringLiteral("sparklePublicKey")),
        .websiteURL = read.url(QStringLiteral("websiteURL")),
        .iconURL = read.url(QStringLiteral("iconURL")),
        .minimumSystemVersion = read.string(QStringLiteral("minimumSystemVersion")),
        .category = read.string(QStringLiteral("category")),
        .tagline = read.stringMap(QStringLiteral("tagline")),
        .description = read.stringMap(QStringLiteral("description")),
        .screenshots = read.urlList(QStringLiteral("screenshots")),
    };
    if (!read.ok())
        return fieldProblem(read.failedField());
    return app;
}

} // namespace

QString CatalogApp::localized(const QMap<QString, QString> &texts, QStringView language)
{
    QString tag = language.toString();
    tag.replace(u'_', u'-');
    QStringList parts = tag.split(u'-', Qt::SkipEmptyParts);
    while (!parts.isEmpty()) {
        const auto found = texts.constFind(parts.join(u'-'));
        if (found != texts.constEnd())
            return *found;
        parts.removeLast();
    }
    return texts.value(QStringLiteral("en"));
}

std::optional<Catalog> Catalog::fromJSON(const QByteArray &json)
{
    Expected<Catalog, QString> catalog = read(json);
    if (!catalog)
        return std::nullopt;
    return std::move(catalog).value();
}

Expected<Catalog, QString> Catalog::read(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("not JSON: %1 at offset %2").arg(error.errorString()).arg(error.offset);
    if (!document.isObject())
        return QStringLiteral("not a JSON object");
    const QJsonObject object = document.object();
    FieldReader read(object);
    Catalog catalog;
    catalog.version = read.integer(QStringLiteral("version"));
    catalog.issuer = read.string(QStringLiteral("issuer"));
    const QJsonArray apps = read.array(QStringLiteral("apps"));
    if (!read.ok())
        return fieldProblem(read.failedField());
    catalog.apps.reserve(apps.size());
    for (const QJsonValue value : apps) {
        Expected<CatalogApp, QString> app = appFromJSON(value);
        if (!app) {
            const QJsonValue id = value.toObject().value(QLatin1String("productID"));
            const QString record = QStringLiteral("app %1").arg(catalog.apps.size() + 1) +
                                   (id.isString() ? QStringLiteral(" (\"%1\")").arg(id.toString()) : QString());
            return QStringLiteral("%1: %2").arg(record, app.error());
        }
        catalog.apps.append(std::move(app).value());
    }
    return catalog;
}
