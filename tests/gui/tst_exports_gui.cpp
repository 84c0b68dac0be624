#include "gui/analysis/CDialogTrend.h"
#include "core/history/DataFolder.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

// The windows' own exports (the 走势图's picture and CSV) write through the
// program's one save routine: a target that is no file of its folder is
// named in the message and left as it was.
class TestExportsGui : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusedTargetsLeftAsTheyWere_data();
    void refusedTargetsLeftAsTheyWere();
};

void TestExportsGui::refusedTargetsLeftAsTheyWere_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");   // %1: the file, %2: its folder
    for (const bool picture : {false, true}) {
        const char *what = picture ? "picture" : "CSV";
        QTest::addRow("%s, pipe", what) << picture << "pipe" << "%1 不是普通文件，不能保存";
        QTest::addRow("%s, link to a device", what) << picture << "link to a device" << "%1 是指向非普通文件的链接，不能保存";
        QTest::addRow("%s, link out of the folder", what) << picture << "link out" << "%1 是指向文件夹 %2 以外的链接，不能保存";
        QTest::addRow("%s, link to nothing", what) << picture << "dangling" << "%1 是指向不存在的文件的链接，不能保存";
    }
}

void TestExportsGui::refusedTargetsLeftAsTheyWere()
{
    QFETCH(bool, picture);
    QFETCH(QString, target);
    QFETCH(QString, message);

    QTemporaryDir dir;
    QVERIFY(DataFolderBuilder(dir.filePath("data")).lottery("1", "A", "2026001$321\r\n2026002$555\r\n").write());
    QVERIFY(QDir().mkpath(dir.filePath("out")));
    QVERIFY(writeBytes(dir.filePath("theirs.txt"), "theirs\r\n"));
    const QString path = dir.filePath(picture ? "out/chart.png" : "out/table.csv");
    if (target == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (target == "link to a device")
        QVERIFY(QFile::link(deviceForTest(dir.path()), path));
    else if (target == "link out")
        QVERIFY(QFile::link(dir.filePath("theirs.txt"), path));
    else
        QVERIFY(QFile::link(dir.filePath("nowhere"), path));
    const QStringList before = QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const QString link = QFile::symLinkTarget(path);

    FakeServices services;
    CDialogTrend trend(services, loadRegistry(dir.filePath("data")), 0);
    trend.show();
    services.saveAnswers.enqueue(path);
    QVERIFY(!(picture ? trend.exportPicture() : trend.exportCsv()));
    QCOMPARE(services.warnings, QStringList{QString(message).replace("%1", path).replace("%2", dir.filePath("out"))});
    QCOMPARE(QDir(dir.filePath("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot), before);
    QCOMPARE(QFile::symLinkTarget(path), link);
    QCOMPARE(QFileInfo(path).isFile(), target == "link out");
    QCOMPARE(readBytes(dir.filePath("theirs.txt")), QByteArray("theirs\r\n"));
}

QTEST_MAIN(TestExportsGui)
#include "tst_exports_gui.moc"
