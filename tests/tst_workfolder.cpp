#include "harness/modelfixture.h"
#include "install/workfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class WorkFolderTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Two installs of one process (Update All) keep each other's folders; a link that looks
    // like a work folder is neither followed nor removed.
    void sweepKeepsWhatIsHeldAndWhatIsNotAFolder()
    {
        QTemporaryDir temporary;
        QTemporaryDir elsewhere;
        writeTestFile(elsewhere.filePath(QStringLiteral("keep")), "keep");
        const QString link = temporary.filePath(QStringLiteral("tessel-store-LINK"));
        QVERIFY(QFile::link(elsewhere.path(), link));

        const Expected<WorkFolder, QString> first = WorkFolder::create(temporary.path());
        QVERIFY(first);
        writeTestFile(first->path() + QStringLiteral("/archive.zip"), "zip");
        const Expected<WorkFolder, QString> second = WorkFolder::create(temporary.path());
        QVERIFY(second);
        QVERIFY(second->path() != first->path());
        QVERIFY(QFile::exists(first->path() + QStringLiteral("/archive.zip")));
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFile::exists(elsewhere.filePath(QStringLiteral("keep"))));
    }

    // A folder left without its owner goes at the next sweep, and a folder goes with its object.
    void foldersEndWithTheirOwner()
    {
        QTemporaryDir temporary;
        const QString left = temporary.filePath(QStringLiteral("tessel-store-0AEC5C3E-6E5A-4D8B-9E55-4B7A1D6B2C10"));
        writeTestFile(left + QStringLiteral("/extracted/app/file"), "x");
        QString made;
        {
            const Expected<WorkFolder, QString> folder = WorkFolder::create(temporary.path());
            QVERIFY(folder);
            made = folder->path();
            QVERIFY(QFileInfo(made).isDir());
            QVERIFY(!QFileInfo::exists(left));
        }
        QVERIFY(!QFileInfo::exists(made));
    }
};

QTEST_GUILESS_MAIN(WorkFolderTest)
#include "tst_workfolder.moc"
