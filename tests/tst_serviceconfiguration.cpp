#include "catalog/serviceconfiguration.h"
#include "platform/bundle.h"
#include "platform/propertylist.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using PropertyList::Format;

class ServiceConfigurationTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    int m_bundles = 0;

    // A bundle whose Info.plist holds these entries, written in the given format.
    Bundle bundleWith(const QVariantMap &info, Format format = Format::XML)
    {
        const QString path = m_folder.filePath(QStringLiteral("B%1.app").arg(++m_bundles));
        QDir().mkpath(path + QStringLiteral("/Contents/MacOS"));
        QFile file(path + QStringLiteral("/Contents/Info.plist"));
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write Info.plist");
        file.write(PropertyList::serialize(info, format));
        file.close();
        return Bundle::at(path);
    }

    static QVariantMap complete()
    {
        return {
            {QStringLiteral("TesselServiceURL"), QStringLiteral("https://service.test/api")},
            {QStringLiteral("TesselServiceIssuer"), QStringLiteral("issuer")},
            {QStringLiteral("TesselServiceKeyID"), QStringLiteral("key-1")},
            {QStringLiteral("TesselServicePublicKey"), QStringLiteral("pk")},
        };
    }

private Q_SLOTS:
    void completeEntriesReplaceThePreset_data()
    {
        QTest::addColumn<Format>("format");
        QTest::newRow("XML") << Format::XML;
        QTest::newRow("binary") << Format::Binary;
    }

    void completeEntriesReplaceThePreset()
    {
        QFETCH(Format, format);
        const ServiceConfiguration configuration = ServiceConfiguration::fromBundle(bundleWith(complete(), format));
        const ServiceConfiguration expected{QUrl(QStringLiteral("https://service.test/api")), QStringLiteral("issuer"),
                                            QStringLiteral("key-1"), QStringLiteral("pk")};
        QCOMPARE(configuration, expected);
    }

    void anyFaultyEntryGivesTheWholePreset_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");

        QTest::newRow("empty key identifier") << "TesselServiceKeyID" << QVariant(QString());
        QTest::newRow("empty issuer") << "TesselServiceIssuer" << QVariant(QString());
        QTest::newRow("unparsable URL") << "TesselServiceURL" << QVariant(QStringLiteral("https://a b"));
        QTest::newRow("empty URL") << "TesselServiceURL" << QVariant(QString());
        QTest::newRow("key as number") << "TesselServicePublicKey" << QVariant(qint64(4));
        QTest::newRow("missing key") << "TesselServicePublicKey" << QVariant();
    }

    void anyFaultyEntryGivesTheWholePreset()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QVariantMap info = complete();
        if (value.isValid())
            info.insert(key, value);
        else
            info.remove(key);
        QCOMPARE(ServiceConfiguration::fromBundle(bundleWith(info)), ServiceConfiguration::production());
    }

    void emptyPublicKeyIsAccepted()
    {
        QVariantMap info = complete();
        info.insert(QStringLiteral("TesselServicePublicKey"), QString());
        QCOMPARE(ServiceConfiguration::fromBundle(bundleWith(info)).publicKey, QString());
    }

    void bundleWithoutInfoPlistGivesThePreset()
    {
        const QString path = m_folder.filePath(QStringLiteral("Bare.app"));
        QDir().mkpath(path);
        QVERIFY(!Bundle::at(path).infoDictionary());
        QCOMPARE(ServiceConfiguration::fromBundle(Bundle::at(path)), ServiceConfiguration::production());
    }

    void productionPresetIsUsable()
    {
        const ServiceConfiguration production = ServiceConfiguration::production();
        QCOMPARE(production.serverURL.scheme(), QStringLiteral("https"));
        QCOMPARE(production.serverURL.path(), QString());
        QCOMPARE(production.publicKey.size(), 43);
        QVERIFY(production.signingKey());
    }

    void mainBundleIsFoundFromItsExecutable()
    {
        const Bundle written = bundleWith(complete(), Format::Binary);
        const Bundle found = Bundle::containing(written.path() + QStringLiteral("/Contents/MacOS/tool"));
        QCOMPARE(found.path(), written.path());
        QCOMPARE(found.string(QStringLiteral("TesselServiceIssuer")), QStringLiteral("issuer"));

        const Bundle loose = Bundle::containing(m_folder.filePath(QStringLiteral("bin/tool")));
        QCOMPARE(loose.path(), m_folder.filePath(QStringLiteral("bin")));
        QCOMPARE(loose.infoDictionary(), std::optional<QVariantMap>(QVariantMap()));
    }

    void propertyListsKeepTheirTypes()
    {
        const QVariantMap value{
            {QStringLiteral("string"), QStringLiteral("ünïcode")},
            {QStringLiteral("integer"), qint64(-42)},
            {QStringLiteral("real"), 2.5},
            {QStringLiteral("bool"), true},
            {QStringLiteral("data"), QByteArray("\x00\x01", 2)},
            {QStringLiteral("array"), QVariantList{QStringLiteral("a"), qint64(1)}},
            {QStringLiteral("nested"), QVariantMap{{QStringLiteral("k"), QStringLiteral("v")}}},
        };
        for (const Format format : {Format::XML, Format::Binary})
            QCOMPARE(PropertyList::parse(PropertyList::serialize(value, format)), std::optional<QVariant>(value));
        QVERIFY(!PropertyList::parse("not a property list"));
        QVERIFY(!PropertyList::parse(QByteArray()));
    }
};

QTEST_GUILESS_MAIN(ServiceConfigurationTest)
#include "tst_serviceconfiguration.moc"
