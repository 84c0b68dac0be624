#include "core/history/DataFolder.h"
#include "core/history/LotteryManager.h"
#include "core/online/ProductSite.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"
#include "core/text/TextFile.h"

#include "TestSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using namespace numsieve;
using namespace testsupport;

namespace {

// A writer of the program: writes its file into folder, the name it writes
// there given; returns what it said.
struct Writer {
    const char *name;
    QString file;   // relative to the folder
    std::function<std::expected<void, QString>(const QString &folder)> write;
};

QList<Writer> writers()
{
    LotteryRegistry registry;
    registry.append(Lottery{QStringLiteral("福彩3D"), QStringLiteral("1"), {Draw{QStringLiteral("2024001"), QStringLiteral("123")}}});
    auto done = [](auto result) { return result ? std::expected<void, QString>() : std::unexpected(result.error()); };
    return {
        {"draws export", "draws.txt",
         [=](const QString &folder) {
             LotteryManager manager(registry);
             manager.selectLottery(0);
             return done(manager.exportFile(QDir(folder).filePath("draws.txt")));
         }},
        {"published feed", "analyse/issue_3d.jsp",
         [=](const QString &folder) { return done(publishFeed(registry, folder, {})); }},
        {"number list", "numbers.txt",
         [](const QString &folder) { return writeNumberListFile(QDir(folder).filePath("numbers.txt"), {"123"}); }},
        {"print file", "号码打印.txt",
         [](const QString &folder) { return writeNumberListFile(printFilePath(folder), {"123"}); }},
        {"scheme", "plan.cnd",
         [](const QString &folder) { return writeSchemeFile(QDir(folder).filePath("plan.cnd"), "[x]\n"); }},
        {"CSV", "table.csv",
         [](const QString &folder) { return writeTextLines(QDir(folder).filePath("table.csv"), {"a,b"}); }},
    };
}

} // namespace

// Every file the program writes goes through one save routine: whatever
// stands in its place and is no file of the folder it writes into is named
// and left as it was, and nothing is written anywhere.
class TestWriters : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void targetsThatAreNoFileOfTheFolder_data();
    void targetsThatAreNoFileOfTheFolder();
};

void TestWriters::targetsThatAreNoFileOfTheFolder_data()
{
    QTest::addColumn<int>("writer");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");   // %1: the file, %2: the folder
    const QList<std::pair<QString, QString>> targets = {
        {"pipe", "%1 不是普通文件，不能保存"},
        {"folder", "%1 不是普通文件，不能保存"},
        {"link to a device", "%1 是指向非普通文件的链接，不能保存"},
        {"link out of the folder", "%1 是指向文件夹 %2 以外的链接，不能保存"},
        {"link to nothing", "%1 是指向不存在的文件的链接，不能保存"},
    };
    const QList<Writer> all = writers();
    for (int w = 0; w < all.size(); ++w)
        for (const auto &[target, message] : targets)
            QTest::addRow("%s, %s", all.at(w).name, qPrintable(target)) << w << target << message;
    QTest::addRow("published feed, its folder a link out") << 1 << "folder link out" << "%3 在文件夹 %2 以外，不能保存";
}

void TestWriters::targetsThatAreNoFileOfTheFolder()
{
    QFETCH(int, writer);
    QFETCH(QString, target);
    QFETCH(QString, message);
    const Writer w = writers().at(writer);

    QTemporaryDir dir;
    const QString folder = dir.filePath("out");
    const QString file = QDir(folder).filePath(w.file);
    const QString outside = dir.filePath("outside");
    QVERIFY(QDir().mkpath(outside));
    QVERIFY(writeBytes(dir.filePath("outside/theirs.txt"), "theirs\r\n"));
    QVERIFY(QDir().mkpath(QFileInfo(target == "folder link out" ? QFileInfo(file).path() : file).path()));
    const QByteArray name = QFile::encodeName(file);
    if (target == "pipe")
        QCOMPARE(::mkfifo(name.constData(), 0600), 0);
    else if (target == "folder")
        QVERIFY(QDir().mkpath(file));
    else if (target == "link to a device")
        QVERIFY(QFile::link(deviceForTest(dir.path()), file));
    else if (target == "link out of the folder")
        QVERIFY(QFile::link(dir.filePath("outside/theirs.txt"), file));
    else if (target == "link to nothing")
        QVERIFY(QFile::link(dir.filePath("nowhere.txt"), file));
    else if (target == "folder link out")
        QVERIFY(QFile::link(outside, QFileInfo(file).path()));
    auto everything = [&dir] {
        QStringList states;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            states << QDir(dir.path()).relativeFilePath(path) + ": " + entryState(path);
        }
        states.sort();
        return states;
    };
    const QStringList before = everything();

    const auto written = w.write(folder);
    QVERIFY(!written.has_value());
    QCOMPARE(written.error(), QString(message).replace("%1", file).replace("%2", folder).replace("%3", QFileInfo(file).path()));
    QCOMPARE(everything(), before);
    QCOMPARE(readBytes(dir.filePath("outside/theirs.txt")), QByteArray("theirs\r\n"));
}

QTEST_GUILESS_MAIN(TestWriters)
#include "tst_writers.moc"
