#include "catalog/catalogloader.h"
#include "catalog/servicesignature.h"
#include "crypto/base64.h"
#include "harness/catalogfixtures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

using namespace CatalogFixtures;

namespace {

QByteArray envelopeJSON(const QJsonObject &object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

QString url64(const QByteArray &bytes)
{
    return QString::fromLatin1(Base64::encodeURL(bytes));
}

} // namespace

class CatalogTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;

    CatalogResult decode(const QByteArray &envelope) const
    {
        return CatalogLoader(m_signer.configuration(), QString()).decode(envelope);
    }

    // An envelope with its fields given one by one, for the cases a real signer never writes.
    QByteArray handMade(const QByteArray &payload, const QString &kid, const QString &catalogText = {},
                        const QString &signatureText = {}) const
    {
        return envelopeJSON({
            {QStringLiteral("kid"), kid},
            {QStringLiteral("catalog"), catalogText.isNull() ? url64(payload) : catalogText},
            {QStringLiteral("signature"), signatureText.isNull() ? url64(m_signer.key.sign(payload)) : signatureText},
        });
    }

private Q_SLOTS:
    void acceptsASignedCatalog()
    {
        const CatalogResult result = decode(m_signer.envelopeOf({app(QStringLiteral("a")), app(QStringLiteral("b"))}));
        QVERIFY(result);
        QCOMPARE(result->issuer, m_signer.issuer);
        QCOMPARE(result->apps.size(), 2);
        const CatalogApp &first = result->apps.first();
        QCOMPARE(first.productID, QStringLiteral("a"));
        QCOMPARE(first.bundleID, QStringLiteral("com.orvel.a"));
        QCOMPARE(first.appcastURL, QUrl(QStringLiteral("https://apps.orvel.example/a/appcast.xml")));
        QCOMPARE(first.screenshots, QList<QUrl>{QUrl(QStringLiteral("https://apps.orvel.example/a/1.png"))});
        QCOMPARE(first.tagline.value(QStringLiteral("en")), QStringLiteral("Tagline"));
    }

    void decodeErrors_data()
    {
        QTest::addColumn<QByteArray>("envelope");
        QTest::addColumn<CatalogError>("error");

        const QByteArray good = catalogJSON(m_signer.issuer, {app(QStringLiteral("a"))});
        const QString wrongKid = QStringLiteral("other-key");
        const QString goodText = url64(good);
        QString brokenText = goodText;
        brokenText.insert(8, u'\n');

        QTest::newRow("not JSON") << QByteArray("<html>hello</html>") << CatalogError::Malformed;
        QTest::newRow("JSON array") << QByteArray("[]") << CatalogError::Malformed;
        QTest::newRow("missing kid") << envelopeJSON({{QStringLiteral("catalog"), goodText},
                                                      {QStringLiteral("signature"), url64(m_signer.key.sign(good))}})
                                     << CatalogError::Malformed;
        QTest::newRow("kid not a string")
            << envelopeJSON({{QStringLiteral("kid"), 1},
                             {QStringLiteral("catalog"), goodText},
                             {QStringLiteral("signature"), url64(m_signer.key.sign(good))}})
            << CatalogError::Malformed;
        // The payload is decoded before the key identifier is looked at.
        QTest::newRow("line break in catalog, wrong kid too")
            << handMade(good, wrongKid, brokenText) << CatalogError::Malformed;
        QTest::newRow("right signature, other kid") << handMade(good, wrongKid) << CatalogError::BadSignature;
        QTest::newRow("signature of other bytes")
            << handMade(good, m_signer.keyID, {}, url64(m_signer.key.sign(good + ' '))) << CatalogError::BadSignature;
        QTest::newRow("signature not base64")
            << handMade(good, m_signer.keyID, {}, QStringLiteral("***")) << CatalogError::BadSignature;
        QTest::newRow("signed by another key") << Signer{}.envelope(good) << CatalogError::BadSignature;
        const QByteArray notJSON("this is not a catalog");
        QTest::newRow("bad signature over a non-JSON payload")
            << handMade(notJSON, m_signer.keyID, {}, url64(m_signer.key.sign(good))) << CatalogError::BadSignature;
        QTest::newRow("good signature over a non-JSON payload")
            << m_signer.envelope(notJSON) << CatalogError::Malformed;

        Signer otherIssuer;
        otherIssuer.key = m_signer.key;
        otherIssuer.issuer = QStringLiteral("someone-else");
        QTest::newRow("wrong issuer") << otherIssuer.envelopeOf({app(QStringLiteral("a"))})
                                      << CatalogError::WrongIssuer;
        QJsonObject noTeam = app(QStringLiteral("b"));
        noTeam.remove(QStringLiteral("teamID"));
        QTest::newRow("wrong issuer and a malformed app")
            << otherIssuer.envelopeOf({app(QStringLiteral("a")), noTeam}) << CatalogError::Malformed;
    }

    void decodeErrors()
    {
        QFETCH(QByteArray, envelope);
        QFETCH(CatalogError, error);
        const CatalogResult result = decode(envelope);
        QVERIFY(!result);
        QCOMPARE(result.error(), error);
    }

    void paddingIsOptional()
    {
        const QByteArray payload = catalogJSON(m_signer.issuer, {app(QStringLiteral("a"))});
        QString catalogText = url64(payload);
        QString signatureText = url64(m_signer.key.sign(payload));
        while (catalogText.size() % 4)
            catalogText.append(u'=');
        while (signatureText.size() % 4)
            signatureText.append(u'=');
        const CatalogResult padded = decode(handMade(payload, m_signer.keyID, catalogText, signatureText));
        const CatalogResult unpadded = decode(handMade(payload, m_signer.keyID));
        QVERIFY(padded);
        QVERIFY(unpadded);
        QCOMPARE(*padded, *unpadded);
    }

    void unusableConfiguredKey_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("31 bytes") << 31;
        QTest::newRow("33 bytes") << 33;
    }

    void unusableConfiguredKey()
    {
        QFETCH(int, length);
        ServiceConfiguration configuration = m_signer.configuration();
        configuration.publicKey = url64(QByteArray(length, '\x11'));
        QVERIFY(!configuration.signingKey());
        const CatalogResult result = CatalogLoader(configuration, QString()).decode(m_signer.envelopeOf({}));
        QCOMPARE(result.error(), CatalogError::BadSignature);
        QVERIFY(!ServiceSignature::isValid(u"", "", configuration));
    }

    void extraKeysAreIgnored()
    {
        QJsonObject extraApp = app(QStringLiteral("a"));
        extraApp.insert(QStringLiteral("price"), 3);
        QJsonObject catalog = QJsonDocument::fromJson(catalogJSON(m_signer.issuer, {extraApp})).object();
        catalog.insert(QStringLiteral("generatedAt"), QStringLiteral("today"));
        const QByteArray payload = QJsonDocument(catalog).toJson();
        QJsonObject envelope = QJsonDocument::fromJson(m_signer.envelope(payload)).object();
        envelope.insert(QStringLiteral("comment"), QStringLiteral("hi"));
        const CatalogResult result = decode(envelopeJSON(envelope));
        QVERIFY(result);
        QCOMPARE(result->apps.first(), decode(m_signer.envelopeOf({app(QStringLiteral("a"))}))->apps.first());
    }

    void documentShapes_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<bool>("accepted");

        QTest::newRow("name as number") << "name" << QJsonValue(5) << false;
        QTest::newRow("empty URL") << "iconURL" << QJsonValue(QString()) << false;
        QTest::newRow("URL with a space") << "websiteURL" << QJsonValue(QStringLiteral("https://a b/")) << false;
        QTest::newRow("URL with a bad escape") << "appcastURL" << QJsonValue(QStringLiteral("https://a/%zz")) << false;
        QTest::newRow("tagline as string") << "tagline" << QJsonValue(QStringLiteral("hi")) << false;
        QTest::newRow("tagline with a number")
            << "tagline" << QJsonValue(QJsonObject{{QStringLiteral("en"), 1}}) << false;
        QTest::newRow("screenshots with a number") << "screenshots" << QJsonValue(QJsonArray{1}) << false;
        QTest::newRow("screenshots with an empty URL") << "screenshots" << QJsonValue(QJsonArray{QString()}) << false;
        QTest::newRow("no screenshots") << "screenshots" << QJsonValue(QJsonArray{}) << true;
        QTest::newRow("null category") << "category" << QJsonValue(QJsonValue::Null) << false;
        QTest::newRow("relative icon") << "iconURL" << QJsonValue(QStringLiteral("icons/a.png")) << true;
    }

    void documentShapes()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(bool, accepted);
        QJsonObject record = app(QStringLiteral("a"));
        record.insert(key, value);
        QCOMPARE(Catalog::fromJSON(catalogJSON(QStringLiteral("i"), {record})).has_value(), accepted);
    }

    void catalogVersionMustBeAnInteger_data()
    {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("integer") << QByteArray("2") << true;
        QTest::newRow("fraction") << QByteArray("1.5") << false;
        QTest::newRow("string") << QByteArray("\"1\"") << false;
        QTest::newRow("huge") << QByteArray("1e300") << false;
    }

    void catalogVersionMustBeAnInteger()
    {
        QFETCH(QByteArray, version);
        QFETCH(bool, accepted);
        const QByteArray json = "{\"version\":" + version + ",\"issuer\":\"i\",\"apps\":[]}";
        QCOMPARE(Catalog::fromJSON(json).has_value(), accepted);
    }

    void localized_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("expected");

        QTest::newRow("underscore tag falls back to language") << QStringList{"pt", "en"} << "pt_BR"
                                                               << "pt";
        QTest::newRow("exact region") << QStringList{"pt", "pt-BR", "en"} << "pt-BR"
                                      << "pt-BR";
        QTest::newRow("only English") << QStringList{"en"} << "pt_BR"
                                      << "en";
        QTest::newRow("empty map") << QStringList{} << "pt_BR"
                                   << "";
        QTest::newRow("empty tag goes to English") << QStringList{"pt", "en"} << ""
                                                   << "en";
        QTest::newRow("script and region") << QStringList{"zh-Hant", "zh", "en"} << "zh-Hant-TW"
                                           << "zh-Hant";
        QTest::newRow("keys compared exactly") << QStringList{"pt-br", "en"} << "pt-BR"
                                               << "en";
        QTest::newRow("empty parts dropped") << QStringList{"de", "en"} << "de--AT-"
                                             << "de";
        QTest::newRow("no English, no match") << QStringList{"fr"} << "de"
                                              << "";
    }

    void localized()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, language);
        QFETCH(QString, expected);
        QMap<QString, QString> texts;
        for (const QString &key : keys)
            texts.insert(key, key);
        QCOMPARE(CatalogApp::localized(texts, language), expected);
        CatalogApp app;
        app.description = texts;
        QCOMPARE(app.descriptionFor(language), expected);
        QCOMPARE(app.taglineFor(language), QString());
    }
};

QTEST_GUILESS_MAIN(CatalogTest)
#include "tst_catalog.moc"
