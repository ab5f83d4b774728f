#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

// The order of the layers, from the bottom up: a file may include its own layer and those
// below it, never one above. The maker's library and the app sit on the whole core.
const QStringList layers{
    QStringLiteral("support"),    QStringLiteral("crypto"), QStringLiteral("platform"), QStringLiteral("net"),
    QStringLiteral("catalog"),    QStringLiteral("feeds"),  QStringLiteral("codesign"), QStringLiteral("install"),
    QStringLiteral("selfupdate"), QStringLiteral("model"),  QStringLiteral("shell"),    QStringLiteral("presentation"),
    QStringLiteral("maker"),      QStringLiteral("app"),
};

class LayerTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void includesPointDown();
};

// The layer of a file under src/: its folder in the core, or maker/app.
QString layerOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split(u'/');
    return parts.first() == QLatin1String("core") ? parts.value(1) : parts.first();
}

void LayerTest::includesPointDown()
{
    const QString sources = QStringLiteral(TESSEL_SOURCE_DIR "/src");
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s+"([^"]+)")re"),
                                            QRegularExpression::MultilineOption);
    QStringList faults;
    int files = 0;
    QDirIterator it(sources, {QStringLiteral("*.h"), QStringLiteral("*.cpp")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = path.mid(sources.size() + 1);
        const qsizetype own = layers.indexOf(layerOf(relative));
        if (own < 0) {
            faults.append(relative + QStringLiteral(": in no layer"));
            continue;
        }
        ++files;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch &match : include.globalMatch(text)) {
            const QString included = match.captured(1);
            if (included.endsWith(QLatin1String(".moc")))
                continue;
            const qsizetype layer = layers.indexOf(included.section(u'/', 0, 0));
            if (!included.contains(u'/') || layer < 0)
                faults.append(QStringLiteral("%1: \"%2\" names no layer's folder").arg(relative, included));
            else if (layer > own)
                faults.append(QStringLiteral("%1: \"%2\" is above %3").arg(relative, included, layers[own]));
        }
    }
    QVERIFY(files > 50);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
}

QTEST_GUILESS_MAIN(LayerTest)
#include "tst_layers.moc"
