#include "app/theme/storepalette.h"
#include "app/window/storeresources.h"
#include "shell/appearance.h"
#include "shell/storesection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSet>
#include <QTest>
#include <QTranslator>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)

namespace {

// A translation of the program's own, put into the application for one test only.
class Installed
{
public:
    explicit Installed(const QString &localization) : m_translator(StoreResources::translator(localization))
    {
        if (m_translator)
            QCoreApplication::installTranslator(m_translator.get());
    }
    ~Installed()
    {
        if (m_translator)
            QCoreApplication::removeTranslator(m_translator.get());
    }
    Installed(const Installed &) = delete;
    Installed &operator=(const Installed &) = delete;

    bool loaded() const { return bool(m_translator); }

private:
    std::unique_ptr<QTranslator> m_translator;
};

QString plural(const char *context, const char *source, int count)
{
    return QCoreApplication::translate(context, source, nullptr, count);
}

} // namespace

// The translations compiled into the program: each carries the window's and the core's texts,
// its plural forms and its direction, and the user's languages pick one.
class TranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theProgramCarriesItsLanguages()
    {
        QStringList carried = StoreResources::localizations();
        carried.sort();
        QCOMPARE(carried, (QStringList{"ar", "de", "pt-BR"}));
        // English is the language of the source texts.
        QVERIFY(!StoreResources::translator(QStringLiteral("en")));
        QVERIFY(!StoreResources::translator(QStringLiteral("fr")));
    }

    // Texts from QML files (a file is its context), from the core, a dotted key and a
    // placeholder, as the window looks them up.
    void eachLanguageTranslatesTheWindowAndTheCore_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("expected"); // badge, section, appearance, filter, state, version
        QTest::newRow("German") << "de" << QStringList{"Installiert",       "Meine Apps",        "Dunkel",
                                                       "Nicht installiert", "Nicht installiert", "Version 3.1"};
        QTest::newRow("Brazilian Portuguese")
            << "pt-BR"
            << QStringList{"Instalado", "Meus apps", "Escuro", "Não instalados", "Não instalado", "Versão 3.1"};
        QTest::newRow("Arabic") << "ar"
                                << QStringList{"مثبّت", "تطبيقاتي", "داكن", "غير المثبّتة", "غير مثبّت", "الإصدار 3.1"};
        QTest::newRow("English, untranslated")
            << "en" << QStringList{"Installed", "My Apps", "Dark", "Not installed", "Not installed", "Version 3.1"};
    }

    void eachLanguageTranslatesTheWindowAndTheCore()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, expected);
        const Installed translation(language);
        QCOMPARE(translation.loaded(), language != QLatin1String("en"));
        const QStringList shown{
            QCoreApplication::translate("Badge", "Installed", "badge.installed"),
            StoreSections::title(StoreSection::MyApps),
            Appearances::title(Appearance::Dark),
            QCoreApplication::translate("ExploreView", "Not installed"),
            QCoreApplication::translate("AppItem", "Not installed", "fact.notInstalled"),
            QCoreApplication::translate("AppState", "Version %1").arg(QStringLiteral("3.1")),
        };
        QCOMPARE(shown, expected);
    }

    // In QML the dotted key is the disambiguation, which keeps the badge's "Installed" apart
    // from the filter's; the English text shows where no translation is installed.
    void theBadgeFindsItsTextByItsDottedKey_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("update");
        QTest::newRow("German") << "de"
                                << "Installiert"
                                << "Update";
        QTest::newRow("Brazilian Portuguese") << "pt-BR"
                                              << "Instalado"
                                              << "Atualização";
        QTest::newRow("Arabic") << "ar"
                                << "مثبّت"
                                << "تحديث";
        QTest::newRow("English") << "en"
                                 << "Installed"
                                 << "Update";
    }

    void theBadgeFindsItsTextByItsDottedKey()
    {
        QFETCH(QString, language);
        QFETCH(QString, installed);
        QFETCH(QString, update);
        const Installed translation(language);
        StorePalette palette(nullptr);
        StorePalette::provide(&palette);
        QQmlEngine engine;
        engine.addImportPath(QStringLiteral(":/qt/qml"));
        QQmlComponent component(&engine);
        component.setData("import TesselStore.Components\nBadge { kind: \"installed\" }", QUrl());
        const std::unique_ptr<QObject> badge(component.create());
        QVERIFY2(badge, qPrintable(component.errorString()));
        const auto title = [&badge] { return badge->findChild<QObject *>(QStringLiteral("title"))->property("text"); };
        QCOMPARE(title().toString(), installed);
        badge->setProperty("kind", QStringLiteral("update"));
        QCOMPARE(title().toString(), update);
    }

    void pluralsTakeEachLanguagesForms_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QList<int>>("counts");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("German") << "de" << QList<int>{1, 2, 21}
                                << QStringList{"1 App wartet auf ein Update.", "2 Apps warten auf ein Update.",
                                               "21 Apps warten auf ein Update."};
        QTest::newRow("Brazilian Portuguese")
            << "pt-BR" << QList<int>{1, 2} << QStringList{"1 app para atualizar.", "2 apps para atualizar."};
        // None, one, two, a few, many and the hundreds each have their own form.
        QTest::newRow("Arabic") << "ar" << QList<int>{0, 1, 2, 3, 11, 100, 103}
                                << QStringList{"لا توجد تطبيقات بحاجة إلى تحديث.", "تطبيق واحد بحاجة إلى تحديث.",
                                               "تطبيقان بحاجة إلى تحديث.",         "3 تطبيقات بحاجة إلى تحديث.",
                                               "11 تطبيقًا بحاجة إلى تحديث.",       "100 تطبيق بحاجة إلى تحديث.",
                                               "103 تطبيقات بحاجة إلى تحديث."};
    }

    void pluralsTakeEachLanguagesForms()
    {
        QFETCH(QString, language);
        QFETCH(QList<int>, counts);
        QFETCH(QStringList, expected);
        const Installed translation(language);
        QVERIFY(translation.loaded());
        QStringList shown;
        for (const int count : counts)
            shown.append(plural("StoreStatus", "%n apps to update.", count));
        QCOMPARE(shown, expected);
        // The sidebar's count of updates, read out, has as many forms.
        QStringList named;
        for (const int count : counts)
            named.append(plural("SidebarRow", "%1, %n updates", count));
        QCOMPARE(QSet<QString>(named.cbegin(), named.cend()).size(), named.size());
    }

    // Arabic turns the whole application right to left through its translation, and the
    // resources say the same of it; the other languages stay left to right.
    void theDirectionComesWithTheTranslation_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("Arabic") << "ar" << true;
        QTest::newRow("German") << "de" << false;
        QTest::newRow("Brazilian Portuguese") << "pt-BR" << false;
    }

    void theDirectionComesWithTheTranslation()
    {
        QFETCH(QString, language);
        QFETCH(bool, rightToLeft);
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
        {
            const Installed translation(language);
            QVERIFY(translation.loaded());
            QCOMPARE(QGuiApplication::layoutDirection(), rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
            QCOMPARE(StoreResources::isRightToLeft({language}), rightToLeft);
        }
        QCOMPARE(QGuiApplication::layoutDirection(), Qt::LeftToRight);
    }

    // The user's languages, as the desktop reports them, against what the program carries.
    void thePreferredLanguagePicksTheTranslation_data()
    {
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("picked");
        QTest::addColumn<QString>("dark"); // the appearance "Dark" in the picked language
        QTest::newRow("Austrian German") << QStringList{"de-AT", "de-Latn-AT"} << "de"
                                         << "Dunkel";
        QTest::newRow("Brazilian Portuguese") << QStringList{"pt-BR", "pt-Latn-BR"} << "pt-BR"
                                              << "Escuro";
        QTest::newRow("Egyptian Arabic") << QStringList{"ar-EG", "ar"} << "ar"
                                         << "داكن";
        QTest::newRow("French, then German") << QStringList{"fr-FR", "de"} << "de"
                                             << "Dunkel";
        QTest::newRow("English before German") << QStringList{"en-GB", "de"} << "en"
                                               << "Dark";
        QTest::newRow("none carried") << QStringList{"fr-FR", "ja"} << "en"
                                      << "Dark";
        QTest::newRow("no preference") << QStringList() << "en"
                                       << "Dark";
    }

    void thePreferredLanguagePicksTheTranslation()
    {
        QFETCH(QStringList, preferred);
        QFETCH(QString, picked);
        QFETCH(QString, dark);
        const QStringList localizations =
            StoreResources::preferredLocalizations(StoreResources::localizations(), preferred);
        QCOMPARE(localizations.first(), picked);
        const Installed translation(localizations.first());
        QCOMPARE(Appearances::title(Appearance::Dark), dark);
    }
};

QTEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
