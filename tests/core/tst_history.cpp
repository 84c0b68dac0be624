#include "core/history/DataFolder.h"
#include "core/history/DataLock.h"
#include "core/history/LotteryRegistry.h"
#include "core/history/RecordLine.h"

#include "TestSupport.h"

#include <QDir>
#include <QDateTime>
#include <QDirIterator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

using namespace numsieve;
using namespace testsupport;

namespace {

QString crlf(const QStringList &lines)
{
    return lines.isEmpty() ? QString() : lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

Lottery lottery(const QString &id, const QString &name, const QList<Draw> &draws = {})
{
    return Lottery{name, id, draws};
}

QStringList folderEntries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// What stands where lottery_1.data (or lottery.data) should be.
enum class Thing { Huge, Fifo, LinkLoop, Utf16NoMark, NotText, LinkToDevice, DanglingLink };

// Makes it; false when this machine does not let the test make it.
bool makeThing(Thing thing, const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    switch (thing) {
    case Thing::Huge: {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.resize(65 * 1024 * 1024);   // sparse
    }
    case Thing::Fifo: return ::mkfifo(name.constData(), 0600) == 0;
    case Thing::LinkLoop: return ::symlink(name.constData(), name.constData()) == 0;
    case Thing::Utf16NoMark: return writeBytes(path, QByteArray("1\0$\0" "1\0" "2\0" "3\0\r\0\n\0", 14));
    case Thing::NotText: return writeBytes(path, "1$123\r\n\xFF\xFF$456\r\n");
    case Thing::LinkToDevice: return ::symlink("/dev/zero", name.constData()) == 0;
    case Thing::DanglingLink: return ::symlink("nowhere.data", name.constData()) == 0;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Thing)

class TestHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readingRule_data();
    void readingRule();
    void duplicatesKeptInFileOrder();
    void emptyRegistry();
    void housekeeping_data();
    void housekeeping();
    void registryHoldsAtMost260();
    void savedBytes();
    void saveThenLoadGivesTheSameRegistry();
    void loadCreatesFolderAndMissingFiles();
    void folderProblemsSaidAsWhatTheyAre_data();
    void folderProblemsSaidAsWhatTheyAre();
    void failureMidwayKeepsEveryFileAndLeavesNoTemporaries();
    void idThatLeavesTheFolderIsNeverUsedAsFileName();
    void indexAfterReload_data();
    void indexAfterReload();
    void shippedRegistryListsTheFourBuiltInLotteries();
    void unreadableFileIsNeverSavedOver_data();
    void unreadableFileIsNeverSavedOver();
    void saveReplacesOnlyRegularFilesOfTheFolder();
    void saveThatLosesDrawsKeepsTheOldFile();
    void backupOnlyWhenALineIsLost_data();
    void backupOnlyWhenALineIsLost();
    void textThatCannotBeSavedAsGbk();
};

void TestHistory::readingRule_data()
{
    QTest::addColumn<bool>("drawFile");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("kept");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");

    auto row = [](const char *tag, bool drawFile, const QString &line, bool kept, const QString &first = {},
                  const QString &second = {}) {
        QTest::newRow(tag) << drawFile << gbk(line + QStringLiteral("\r\n")) << kept << first << second;
    };
    row("empty name", false, QStringLiteral("5$"), false);
    row("empty id", false, QStringLiteral("$名称"), false);
    row("no separator", false, QStringLiteral("5名称"), false);
    row("second separator cuts", false, QStringLiteral("6$名称$备注"), true, QStringLiteral("6"), QStringLiteral("名称"));
    row("trailing blank kept", false, QStringLiteral("7$名称 "), true, QStringLiteral("7"), QStringLiteral("名称 "));
    row("leading blanks kept", false, QStringLiteral(" 8$ 名"), true, QStringLiteral(" 8"), QStringLiteral(" 名"));
    row("empty line", false, QString(), false);
    row("draw cut at second separator", true, QStringLiteral("101$123$x"), true, QStringLiteral("101"), QStringLiteral("123"));
    row("draw without number", true, QStringLiteral("101$"), false);
    row("draw without issue", true, QStringLiteral("$123"), false);
    row("draw separators adjacent", true, QStringLiteral("101$$123"), false);
    row("draw number unchecked", true, QStringLiteral("101$12345"), true, QStringLiteral("101"), QStringLiteral("12345"));
    QTest::newRow("lf line end") << true << QByteArray("102$456\n") << true << QStringLiteral("102") << QStringLiteral("456");
    // GBK's one-byte euro sign, just before the line end: GBK, not refused.
    QTest::newRow("euro before the line end") << false << QByteArray("1$A\x80\r\n") << true << QStringLiteral("1")
                                              << QStringLiteral("A\u20AC");
}

void TestHistory::readingRule()
{
    QFETCH(bool, drawFile);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, kept);
    QFETCH(QString, first);
    QFETCH(QString, second);

    QTemporaryDir dir;
    const QString data = dir.path();
    if (drawFile) {
        QVERIFY(writeBytes(registryFilePath(data), "9$x\r\n"));
        QVERIFY(writeBytes(drawFilePath(data, QStringLiteral("9")), bytes));
    } else {
        QVERIFY(writeBytes(registryFilePath(data), bytes));
    }
    const LotteryRegistry registry = loadRegistry(data);

    if (drawFile) {
        QCOMPARE(registry.count(), 1);
        const QList<Draw> expected = kept ? QList<Draw>{Draw{first, second}} : QList<Draw>{};
        QCOMPARE(registry.at(0).draws, expected);
    } else if (kept) {
        QCOMPARE(registry.count(), 1);
        QCOMPARE(registry.at(0).id, first);
        QCOMPARE(registry.at(0).name, second);
    } else {
        QCOMPARE(registry.count(), 0);
    }
}

void TestHistory::duplicatesKeptInFileOrder()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(registryFilePath(dir.path()), gbk(crlf({"3$乙", "1$甲", "3$丙"}))));
    QVERIFY(writeBytes(drawFilePath(dir.path(), "3"), gbk(crlf({"2024001$123", "2024001$456", "2024000$789"}))));
    const LotteryRegistry registry = loadRegistry(dir.path());
    QCOMPARE(registry.count(), 3);
    QCOMPARE(registryLines(registry), QStringList({"3$乙", "1$甲", "3$丙"}));
    const QList<Draw> draws{{"2024001", "123"}, {"2024001", "456"}, {"2024000", "789"}};
    QCOMPARE(registry.at(0).draws, draws);
    QCOMPARE(registry.at(2).draws, draws);
    QCOMPARE(registry.at(1).draws, QList<Draw>{});
    QCOMPARE(registry.at(0).issues(), QStringList({"2024001", "2024001", "2024000"}));
    QCOMPARE(selectionNumbers(registry, 2), QStringList({"123", "456", "789"}));
    QCOMPARE(selectionNumbers(registry, 3), QStringList{});
}

void TestHistory::emptyRegistry()
{
    QTemporaryDir dir;
    QVERIFY(writeBytes(registryFilePath(dir.path()), QByteArray()));
    QVERIFY(loadRegistry(dir.path()).isEmpty());
    QCOMPARE(folderEntries(dir.path()), QStringList{"lottery.data"});
    QCOMPARE(selectionNumbers(LotteryRegistry(), -1), QStringList{});
}

void TestHistory::registryHoldsAtMost260()
{
    QStringList lines{"malformed"};
    for (int id = 1; id <= 262; ++id)
        lines.append(QString::number(id) + "$L" + QString::number(id));
    QTemporaryDir dir;
    QVERIFY(writeBytes(registryFilePath(dir.path()), gbk(crlf(lines))));

    LotteryRegistry registry = loadRegistry(dir.path());
    QCOMPARE(registry.count(), 260);
    QCOMPARE(registry.at(259).id, QStringLiteral("260"));
    QVERIFY(QFile::exists(drawFilePath(dir.path(), "260")));
    QVERIFY(!QFile::exists(drawFilePath(dir.path(), "261")));

    QVERIFY(!registry.append(lottery("999", "extra")));
    QCOMPARE(registry.count(), 260);
    registry.removeAt(0);
    QVERIFY(registry.append(lottery("999", "extra")));
    QCOMPARE(registry.at(259).id, QStringLiteral("999"));
}

void TestHistory::savedBytes()
{
    QTemporaryDir dir;
    LotteryRegistry registry;
    registry.append(lottery("1", "福彩3D", {{"2024001", "123"}, {"2024002", "045"}}));
    QVERIFY(saveRegistry(dir.path(), registry).has_value());
    QCOMPARE(readBytes(registryFilePath(dir.path())), QByteArray::fromHex("3124B8A3B2CA33440D0A"));
    QCOMPARE(readBytes(drawFilePath(dir.path(), "1")), QByteArray("2024001$123\r\n2024002$045\r\n"));
}

void TestHistory::saveThenLoadGivesTheSameRegistry()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    // A lottery that is no longer listed keeps its draw file untouched.
    QVERIFY(writeBytes(drawFilePath(data, "8"), "old$111\r\n"));

    LotteryRegistry registry;
    registry.append(lottery("2", "排列三", {{"07001", "000"}}));
    registry.append(lottery("01", " 自定 ", {{"a b", "999"}, {"a b", "999"}}));
    registry.append(lottery("5", "空"));
    registry.move(0, 2);
    QVERIFY(saveRegistry(data, registry).has_value());

    QCOMPARE(loadRegistry(data), registry);
    QCOMPARE(readBytes(drawFilePath(data, "8")), QByteArray("old$111\r\n"));
    QCOMPARE(readBytes(drawFilePath(data, "5")), QByteArray());
    QCOMPARE(folderEntries(data),
             QStringList({"lottery.data", "lottery_01.data", "lottery_2.data", "lottery_5.data", "lottery_8.data"}));
}

void TestHistory::loadCreatesFolderAndMissingFiles()
{
    QTemporaryDir dir;
    const QString data = dir.filePath("deep/data");
    QVERIFY(loadRegistry(data).isEmpty());
    QVERIFY(QFileInfo(data).isDir());
    QCOMPARE(folderEntries(data), QStringList{"lottery.data"});
    QCOMPARE(QFileInfo(registryFilePath(data)).size(), 0);

    QVERIFY(DataFolderBuilder(data).lottery("1", "福彩3D", "1$123\r\n").lottery("2", "排列三").write());
    const LotteryRegistry registry = loadRegistry(data);
    QCOMPARE(registry.count(), 2);
    QCOMPARE(registry.at(0).numbers(), QStringList{"123"});
    QCOMPARE(registry.at(1).draws, QList<Draw>{});
    QVERIFY(QFile::exists(drawFilePath(data, "2")));
    QCOMPARE(QFileInfo(drawFilePath(data, "2")).size(), 0);
    QCOMPARE(readBytes(drawFilePath(data, "1")), QByteArray("1$123\r\n"));
}

void TestHistory::folderProblemsSaidAsWhatTheyAre_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("message");   // %1: the data folder, %2: the lock file

    const QString readOnly = QStringLiteral("数据文件夹 %1 是只读的，不能在其中保存");
    QTest::newRow("a folder in the lock file's place") << "lock folder" << "lock"
        << "无法锁定数据文件夹 %1：%2 是一个文件夹，不是三位筛号器的锁文件，请把它移走";
    QTest::newRow("a pipe in the lock file's place") << "lock pipe" << "lock"
        << "无法锁定数据文件夹 %1：%2 是一个特殊文件或链接，不是三位筛号器的锁文件，请把它移走";
    QTest::newRow("read-only folder, locked") << "read-only" << "lock" << readOnly;
    QTest::newRow("read-only folder, a save that keeps a backup") << "read-only" << "save losing" << readOnly;
    QTest::newRow("read-only folder, a save that adds") << "read-only" << "save adding" << readOnly;
}

void TestHistory::folderProblemsSaidAsWhatTheyAre()
{
    QFETCH(QString, setup);
    QFETCH(QString, action);
    QFETCH(QString, message);

    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(DataFolderBuilder(data)
                .lottery("1", "福彩3D", "a$111\r\nb$222\r\n")
                .lottery("2", "排列三", "c$333\r\n")
                .write());
    const QString lock = dataLockPath(data);
    if (setup == "lock folder")
        QVERIFY(QDir().mkpath(lock));
    else if (setup == "lock pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(lock).constData(), 0600), 0);
    const QStringList before = folderEntries(data);
    LotteryRegistry registry = loadRegistry(data);
    if (action == "save losing")
        registry[0].draws.removeFirst();
    else
        registry[1].draws.append(Draw{"d", "444"});

    std::unique_ptr<ReadOnlyFolder> readOnly;
    if (setup == "read-only") {
        readOnly = std::make_unique<ReadOnlyFolder>(data);
        if (!readOnly->effective())
            QSKIP("this machine cannot make a folder read-only");
    }
    QString said;
    if (action == "lock") {
        const DataFolderLock taken = lockDataFolder(data);
        QVERIFY(taken.state != DataFolderLock::Held);
        said = taken.message;
    } else {
        const auto saved = saveRegistry(data, registry);
        QVERIFY(!saved.has_value());
        said = saved.error();
    }
    QCOMPARE(said, QString(message).replace("%1", data).replace("%2", lock));
    readOnly.reset();
    QCOMPARE(folderEntries(data), before);
    QCOMPARE(readBytes(drawFilePath(data, "1")), QByteArray("a$111\r\nb$222\r\n"));
    QCOMPARE(readBytes(drawFilePath(data, "2")), QByteArray("c$333\r\n"));
}

void TestHistory::failureMidwayKeepsEveryFileAndLeavesNoTemporaries()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(DataFolderBuilder(data).lottery("1", "A", "old$111\r\n").lottery("3", "C", "old$333\r\n").write());
    // Something that can never be replaced by a file stands where lottery 2's
    // draws should go.
    QVERIFY(QDir(data).mkdir("lottery_2.data"));

    LotteryRegistry registry;
    registry.append(lottery("1", "A", {{"new", "101"}}));
    registry.append(lottery("2", "B", {{"new", "202"}}));
    registry.append(lottery("3", "C", {{"new", "303"}}));
    const auto saved = saveRegistry(data, registry);
    QVERIFY(!saved.has_value());
    QVERIFY2(saved.error().contains("lottery_2.data"), qPrintable(saved.error()));

    // Nothing is replaced before every new content is written.
    QCOMPARE(readBytes(drawFilePath(data, "1")), QByteArray("old$111\r\n"));
    QCOMPARE(readBytes(drawFilePath(data, "3")), QByteArray("old$333\r\n"));
    QCOMPARE(readBytes(registryFilePath(data)), QByteArray("1$A\r\n3$C\r\n"));
    QCOMPARE(folderEntries(data), QStringList({"lottery.data", "lottery_1.data", "lottery_2.data", "lottery_3.data"}));
}

void TestHistory::idThatLeavesTheFolderIsNeverUsedAsFileName()
{
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    QVERIFY(QDir().mkpath(data + "/lottery_"));
    QVERIFY(writeBytes(registryFilePath(data), "1$A\r\n/../../escape$B\r\n"));
    const LotteryRegistry registry = loadRegistry(data);
    QCOMPARE(registry.count(), 2);
    QCOMPARE(registry.at(1).draws, QList<Draw>{});
    QVERIFY(!QFile::exists(dir.filePath("escape.data")));

    LotteryRegistry changed = registry;
    changed[0].draws.append(Draw{"x", "123"});
    changed[1].draws.append(Draw{"y", "456"});
    const auto saved = saveRegistry(data, changed);
    QVERIFY(!saved.has_value());
    QCOMPARE(saved.error(), QStringLiteral("彩种编号“/../../escape”不能用作文件名，无法保存"));
    QVERIFY(!QFile::exists(dir.filePath("escape.data")));
    QCOMPARE(readBytes(drawFilePath(data, "1")), QByteArray());
    QCOMPARE(readBytes(registryFilePath(data)), QByteArray("1$A\r\n/../../escape$B\r\n"));
}

void TestHistory::indexAfterReload_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<qsizetype>("index");
    QTest::newRow("same place") << QStringList{"1", "2", "3"} << "2" << qsizetype(1);
    QTest::newRow("moved") << QStringList{"3", "1", "2"} << "2" << qsizetype(2);
    QTest::newRow("vanished") << QStringList{"1", "3"} << "2" << qsizetype(0);
    QTest::newRow("duplicates take the last") << QStringList{"2", "1", "2", "3"} << "2" << qsizetype(2);
    QTest::newRow("text not number") << QStringList{"2", "02"} << "02" << qsizetype(1);
    QTest::newRow("nothing selected") << QStringList{"1", "2"} << QString() << qsizetype(0);
    QTest::newRow("empty registry") << QStringList{} << "1" << qsizetype(0);
}

void TestHistory::indexAfterReload()
{
    QFETCH(QStringList, ids);
    QFETCH(QString, remembered);
    QFETCH(qsizetype, index);
    LotteryRegistry registry;
    for (const QString &id : ids)
        registry.append(lottery(id, "L" + id));
    QCOMPARE(numsieve::indexAfterReload(registry, remembered), index);
}

void TestHistory::shippedRegistryListsTheFourBuiltInLotteries()
{
    const QString shipped = QFINDTESTDATA("../../resources/data/lottery.data");
    QVERIFY(!shipped.isEmpty());
    QCOMPARE(readBytes(shipped), gbk(crlf({"1$福彩3D", "2$排列三", "3$时时乐", "4$时时彩"})));

    QTemporaryDir dir;
    QVERIFY(QFile::copy(shipped, registryFilePath(dir.path())));
    const LotteryRegistry registry = loadRegistry(dir.path());
    QCOMPARE(registry.count(), 4);
    for (const Lottery &l : registry.lotteries())
        QVERIFY2(isBuiltInLotteryId(l.id), qPrintable(l.id));
    QVERIFY(!isBuiltInLotteryId("01"));
}

void TestHistory::housekeeping_data()
{
    // Entries of the data folder before: "path minutes" with the age of the
    // file in minutes (negative: stamped in the future), "dir:path" a folder,
    // "link:path" a link to lottery.data. A backup action copies that
    // lottery's draw file at 2024-06-01 12:00:00 and names the copy.
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("backupOf");   // empty: the folder is loaded
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("made");

    const QString temporary = QStringLiteral(".numsieve-save-Ab12Cd34Ef56.tmp");
    QTest::newRow("load clears only its own stale temporaries")
        << QStringList{"lottery.data 0", temporary + " 2", ".numsieve-save-Zz99Yy88Xx77.tmp 0",
                       "lottery_1.data.backup 120", "lottery.data.orig01 120", "lottery_1.data.Ab12Cd 120",
                       ".numsieve-save-Ab12Cd34Ef5.tmp 60", "numsieve-save-Ab12Cd34Ef56.tmp 60",
                       "dir:.numsieve-save-Dd11Dd22Dd33.tmp", "link:.numsieve-save-Lk11Lk22Lk33.tmp",
                       "dir:backup", "backup/" + temporary + " 60", "dir:notes", "notes/" + temporary + " 60"}
        << QString()
        << QStringList{".numsieve-save-Ab12Cd34Ef5.tmp", ".numsieve-save-Dd11Dd22Dd33.tmp",
                       ".numsieve-save-Lk11Lk22Lk33.tmp", ".numsieve-save-Zz99Yy88Xx77.tmp", "backup",
                       "lottery.data", "lottery.data.orig01", "lottery_1.data.Ab12Cd", "lottery_1.data.backup",
                       "notes", "notes/" + temporary, "numsieve-save-Ab12Cd34Ef56.tmp"}
        << QString();

    const QString made = QStringLiteral("backup/lottery_1-20240601-120000.data");
    auto backups = [](const QString &id, const QString &day, int first, int step) {
        QStringList names;
        for (int i = 0; i < 10; ++i)
            names << QStringLiteral("backup/lottery_%1-%2-00000%3.data %4").arg(id, day).arg(i).arg(first + i * step);
        return names;
    };
    auto names = [](QStringList entries) {
        for (QString &entry : entries)
            entry = entry.section(QLatin1Char(' '), 0, 0);
        return entries;
    };
    // The backups of a clock that was ahead: written "in the future", the
    // new one is the oldest of all by its time, and stays.
    QStringList ahead = backups("1", "20300101", -1, -1);
    QTest::newRow("clock went back: the backup just made stays")
        << ahead << "1" << QStringList{"backup"} + names(ahead.mid(1)) + QStringList{made, "lottery_1.data"} << made;
    // Names stamped in another time zone sort against the times they were
    // written: the latest name is the oldest written, and goes.
    QStringList shifted = backups("1", "20990101", 60, 60);
    QTest::newRow("names later than their times: the oldest written goes")
        << shifted << "1" << QStringList{"backup"} + names(shifted.mid(0, 9)) + QStringList{made, "lottery_1.data"} << made;
    for (const QString id : {"*", "?", "[1]"}) {
        const QString own = QStringLiteral("backup/lottery_%1-20240601-120000.data").arg(id);
        QTest::newRow(qPrintable("id " + id + " is no pattern"))
            << backups("1", "20240101", 10, 1) << id
            << QStringList{"backup"} + names(backups("1", "20240101", 10, 1))
                   + QStringList{own, QStringLiteral("lottery_%1.data").arg(id)}
            << own;
    }
    QStringList lookAlikes = backups("1", "20240101", 10, 1)
                             + QStringList{"backup/lottery_1-20200101-copy.data 9000", "backup/lottery_1-2-20200101-000000.data 9000",
                                           "backup/lottery_1-20200101-000000.data.old 9000"};
    QTest::newRow("look-alike names are no backups")
        << lookAlikes << "1"
        << QStringList{"backup", "backup/lottery_1-2-20200101-000000.data", "backup/lottery_1-20200101-000000.data.old",
                       "backup/lottery_1-20200101-copy.data"}
               + names(backups("1", "20240101", 10, 1)).mid(0, 9) + QStringList{made, "lottery_1.data"}
        << made;
    QTest::newRow("counter past 999 replaces nothing")
        << QStringList{"backup/lottery_1-20240601-120000_999.data 1", "backup/lottery_1-20240601-120000_1000.data 1"} << "1"
        << QStringList{"backup", "backup/lottery_1-20240601-120000_1000.data", "backup/lottery_1-20240601-120000_1001.data",
                       "backup/lottery_1-20240601-120000_999.data", "lottery_1.data"}
        << QStringLiteral("backup/lottery_1-20240601-120000_1001.data");
}

void TestHistory::housekeeping()
{
    QFETCH(QStringList, before);
    QFETCH(QString, backupOf);
    QFETCH(QStringList, after);
    QFETCH(QString, made);

    QTemporaryDir dir;
    const QDir data(dir.path());
    QMap<QString, QByteArray> contents;
    for (const QString &entry : before) {
        const QString path = entry.section(QLatin1Char(' '), 0, 0);
        if (path.startsWith("dir:")) {
            QVERIFY(data.mkpath(path.mid(4)));
            continue;
        }
        if (path.startsWith("link:")) {
            QVERIFY(QFile::link("lottery.data", data.filePath(path.mid(5))));
            continue;
        }
        QVERIFY(data.mkpath(QFileInfo(data.filePath(path)).path()));
        contents.insert(path, path.toUtf8());
        QVERIFY(writeBytes(data.filePath(path), path.toUtf8()));
        QFile file(data.filePath(path));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-60 * entry.section(' ', 1).toInt()),
                                 QFileDevice::FileModificationTime));
    }
    if (backupOf.isEmpty()) {
        loadRegistry(data.path());
    } else {
        const QString drawFile = drawFilePath(data.path(), backupOf);
        QVERIFY(writeBytes(drawFile, "old$111\r\n"));
        contents.insert(QFileInfo(drawFile).fileName(), "old$111\r\n");
        const auto kept = backUpDrawFile(data.path(), backupOf, drawFile, QDateTime(QDate(2024, 6, 1), QTime(12, 0)));
        QVERIFY2(kept.has_value(), qPrintable(kept.error()));
        QCOMPARE(*kept, data.filePath(made));
        contents.insert(made, "old$111\r\n");
    }
    QStringList left;
    QDirIterator it(data.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        left << data.relativeFilePath(it.next());
    left.sort();
    after.sort();
    QCOMPARE(left, after);
    // What is left is as it was.
    for (const QString &path : std::as_const(left))
        if (contents.contains(path))
            QCOMPARE(readBytes(data.filePath(path)), contents.value(path));
}

void TestHistory::unreadableFileIsNeverSavedOver_data()
{
    QTest::addColumn<Thing>("thing");
    QTest::addColumn<bool>("registry");
    QTest::addColumn<QString>("reason");
    QTest::newRow("over 64 MB") << Thing::Huge << false << "文件 %1 超过64MB，无法读取";
    QTest::newRow("fifo") << Thing::Fifo << false << "%1 不是普通文件，无法读取";
    QTest::newRow("link loop") << Thing::LinkLoop << false << "无法读取文件 %1：符号链接循环";
    QTest::newRow("utf-16 without mark") << Thing::Utf16NoMark << false << "无法读取文件 %1：含有空字符，不是GBK或UTF-8编码的文本";
    QTest::newRow("neither gbk nor utf-8") << Thing::NotText << false << "无法读取文件 %1：既不是GBK也不是UTF-8编码的文本";
    QTest::newRow("link to a device") << Thing::LinkToDevice << false << "%1 不是普通文件，无法读取";
    QTest::newRow("dangling link") << Thing::DanglingLink << false << "无法读取文件 %1：文件不存在";
    QTest::newRow("registry over 64 MB") << Thing::Huge << true << "文件 %1 超过64MB，无法读取";
    QTest::newRow("registry fifo") << Thing::Fifo << true << "%1 不是普通文件，无法读取";
    QTest::newRow("registry not text") << Thing::NotText << true << "无法读取文件 %1：既不是GBK也不是UTF-8编码的文本";
}

void TestHistory::unreadableFileIsNeverSavedOver()
{
    QFETCH(Thing, thing);
    QFETCH(bool, registry);
    QFETCH(QString, reason);

    QTemporaryDir dir;
    const QString data = dir.path();
    const QString broken = registry ? registryFilePath(data) : drawFilePath(data, "1");
    if (!registry)
        QVERIFY(writeBytes(registryFilePath(data), "1$A\r\n2$B\r\n"));
    QVERIFY(writeBytes(drawFilePath(data, "2"), "x$222\r\n"));
    if (!makeThing(thing, broken))
        QSKIP("this machine does not let the test make it");
    const QString before = entryState(broken);
    const QString problem = reason.arg(broken);

    const LotteryRegistry loaded = loadRegistry(data);
    if (registry) {
        QCOMPARE(loaded.readProblem(), problem);
        QCOMPARE(loaded.count(), 0);
    } else {
        QCOMPARE(loaded.count(), 2);
        QCOMPARE(loaded.at(0).readProblem, problem);
        QCOMPARE(loaded.at(0).draws, QList<Draw>{});
        QCOMPARE(loaded.at(1).draws, (QList<Draw>{{"x", "222"}}));
        QCOMPARE(loaded.readProblems(), QStringList{problem});

        // The other lotteries can still be saved; the file stays as it was.
        LotteryRegistry changed = loaded;
        changed[1].draws.append(Draw{"y", "333"});
        QVERIFY(saveRegistry(data, changed).has_value());
        QCOMPARE(readBytes(drawFilePath(data, "2")), QByteArray("x$222\r\ny$333\r\n"));
        QCOMPARE(entryState(broken), before);
    }
    // A save that would put draws over it is refused, and nothing changes.
    LotteryRegistry over = loaded;
    if (registry)
        over.append(lottery("1", "A", {{"z", "444"}}));
    else
        over[0].draws.append(Draw{"z", "444"});
    const QByteArray second = readBytes(drawFilePath(data, "2"));
    const auto saved = saveRegistry(data, over);
    QVERIFY(!saved.has_value());
    QCOMPARE(saved.error(), keptUnreadableMessage(problem));
    QCOMPARE(entryState(broken), before);
    QCOMPARE(readBytes(drawFilePath(data, "2")), second);
    QVERIFY(!QFileInfo::exists(backupFolderPath(data)));
}

void TestHistory::saveReplacesOnlyRegularFilesOfTheFolder()
{
    QTemporaryDir dir;
    const QString data = dir.filePath("data");
    QVERIFY(DataFolderBuilder(data).lottery("1", "A").lottery("2", "B").write());
    // Lottery 1's file is a link to a file outside the folder, lottery 2's a
    // link to a file inside it.
    const QString outside = dir.filePath("outside.data");
    QVERIFY(writeBytes(outside, "o$111\r\n"));
    QVERIFY(QFile::link(outside, drawFilePath(data, "1")));
    QVERIFY(writeBytes(QDir(data).filePath("real_2.data"), "r$222\r\n"));
    QVERIFY(QFile::link("real_2.data", drawFilePath(data, "2")));

    LotteryRegistry changed = loadRegistry(data);
    QCOMPARE(changed.at(0).draws, (QList<Draw>{{"o", "111"}}));
    changed[0].draws.append(Draw{"n", "999"});
    const auto refused = saveRegistry(data, changed);
    QVERIFY(!refused.has_value());
    QCOMPARE(refused.error(), QStringLiteral("%1 是指向文件夹 %2 以外的链接，不能保存").arg(drawFilePath(data, "1"), data));
    QCOMPARE(readBytes(outside), QByteArray("o$111\r\n"));

    changed[0].draws.removeLast();
    changed[1].draws.append(Draw{"n", "999"});
    QVERIFY(saveRegistry(data, changed).has_value());
    QCOMPARE(QFile::symLinkTarget(drawFilePath(data, "2")), QDir(data).filePath("real_2.data"));
    QCOMPARE(readBytes(QDir(data).filePath("real_2.data")), QByteArray("r$222\r\nn$999\r\n"));
    QCOMPARE(readBytes(outside), QByteArray("o$111\r\n"));
}

void TestHistory::saveThatLosesDrawsKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    LotteryRegistry registry;
    registry.append(lottery("1", "A", {{"2024001", "123"}, {"2024002", "456"}}));
    registry.append(lottery("12", "B", {{"1", "111"}}));
    auto saved = saveRegistry(data, registry);
    QVERIFY(saved.has_value());
    QVERIFY(saved->backups.isEmpty());
    const QByteArray first = readBytes(drawFilePath(data, "1"));

    // Appending, reordering or leaving a file as it is loses nothing.
    registry[0].draws.append(Draw{"2024003", "789"});
    QVERIFY(saveRegistry(data, registry).has_value());
    registry[0].draws.move(0, 2);
    saved = saveRegistry(data, registry);
    QVERIFY(saved.has_value());
    QVERIFY(saved->backups.isEmpty());
    QVERIFY(!QFileInfo::exists(backupFolderPath(data)));

    // A changed number loses the old draw: the file before is kept whole.
    const QByteArray before = readBytes(drawFilePath(data, "1"));
    registry[0].draws[0].number = QStringLiteral("000");
    saved = saveRegistry(data, registry);
    QVERIFY(saved.has_value());
    QCOMPARE(saved->backups.size(), 1);
    QVERIFY(QFileInfo(saved->backups.first()).fileName().startsWith("lottery_1-"));
    QCOMPARE(readBytes(saved->backups.first()), before);
    QVERIFY(first != before);

    // Emptying it eleven more times leaves the newest ten, and none of lottery 12's.
    for (int i = 0; i < 11; ++i) {
        registry[0].draws = {Draw{QString::number(i), "321"}};
        QVERIFY(saveRegistry(data, registry).has_value());
    }
    registry[1].draws.clear();
    QVERIFY(saveRegistry(data, registry).has_value());
    const QStringList kept = QDir(backupFolderPath(data)).entryList(QDir::Files, QDir::Name);
    QCOMPARE(kept.filter(QRegularExpression("^lottery_1-")).size(), kBackupsPerLottery);
    QCOMPARE(kept.filter(QRegularExpression("^lottery_12-")).size(), 1);
    QCOMPARE(readBytes(QDir(backupFolderPath(data)).filePath(kept.filter(QRegularExpression("^lottery_12-")).first())),
             QByteArray("1$111\r\n"));
    QCOMPARE(readBytes(QDir(backupFolderPath(data)).filePath(kept.filter(QRegularExpression("^lottery_1-")).last())),
             QByteArray("9$321\r\n"));

    // A backup folder that is a link elsewhere is not written into, nor cleared.
    QTemporaryDir elsewhere;
    QVERIFY(QDir(backupFolderPath(data)).removeRecursively());
    QVERIFY(QFile::link(elsewhere.path(), backupFolderPath(data)));
    const QByteArray kept1 = readBytes(drawFilePath(data, "1"));
    registry[0].draws = {Draw{"x", "999"}};
    saved = saveRegistry(data, registry);
    QVERIFY(!saved.has_value());
    QCOMPARE(saved.error(), QStringLiteral("无法保存文件 %1：%2 不是数据文件夹中的文件夹，无法在其中备份")
                                .arg(drawFilePath(data, "1"), backupFolderPath(data)));
    QCOMPARE(readBytes(drawFilePath(data, "1")), kept1);
    QVERIFY(QDir(elsewhere.path()).isEmpty());
}

void TestHistory::backupOnlyWhenALineIsLost_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QStringList>("draws");
    QTest::addColumn<bool>("backup");
    QTest::newRow("a draw appended") << QByteArray("2024001$123\r\n") << QStringList{"2024001$123", "2024002$456"} << false;
    QTest::newRow("reordered") << QByteArray("2024001$123\r\n2024002$456\r\n") << QStringList{"2024002$456", "2024001$123"}
                               << false;
    // The old file starts the new one, but its last line, without a line
    // end, is not a line of it.
    QTest::newRow("last line without its end, changed") << QByteArray("2024001$123\r\n2024002$45")
                                                        << QStringList{"2024001$123", "2024002$456"} << true;
    QTest::newRow("last line without its end, kept") << QByteArray("2024001$123\r\n2024002$456")
                                                     << QStringList{"2024001$123", "2024002$456"} << false;
    QTest::newRow("a number changed") << QByteArray("2024001$123\r\n") << QStringList{"2024001$124"} << true;
}

void TestHistory::backupOnlyWhenALineIsLost()
{
    QFETCH(QByteArray, old);
    QFETCH(QStringList, draws);
    QFETCH(bool, backup);
    QTemporaryDir dir;
    const QString data = dir.path();
    QVERIFY(DataFolderBuilder(data).lottery("1", "A", old).write());
    LotteryRegistry registry = loadRegistry(data);
    registry[0].draws.clear();
    for (const QString &line : draws)
        registry[0].draws.append(Draw{line.section('$', 0, 0), line.section('$', 1)});
    const auto saved = saveRegistry(data, registry);
    QVERIFY(saved.has_value());
    QCOMPARE(saved->backups.size(), backup ? 1 : 0);
    if (backup)
        QCOMPARE(readBytes(saved->backups.first()), old);
}

void TestHistory::textThatCannotBeSavedAsGbk()
{
    QTemporaryDir dir;
    const QString data = dir.path();
    // UTF-8 without a mark that is no GBK is read as UTF-8, and written back as GBK.
    QVERIFY(writeBytes(registryFilePath(data), "1$\xE4\xB8\x89\r\n"));
    QVERIFY(writeBytes(drawFilePath(data, "1"), "\xE7\xAC\xAC" "1$123\r\n"));
    LotteryRegistry registry = loadRegistry(data);
    QCOMPARE(registry.at(0).name, QStringLiteral("三"));
    QCOMPARE(registry.at(0).draws, (QList<Draw>{{"第1", "123"}}));
    QVERIFY(saveRegistry(data, registry).has_value());
    QCOMPARE(readBytes(registryFilePath(data)), gbk("1$三\r\n"));
    QCOMPARE(loadRegistry(data), registry);

    // Text GBK lacks is refused with the character named, never written as "?".
    const QByteArray saved = readBytes(drawFilePath(data, "1"));
    registry[0].draws.append(Draw{QStringLiteral("2024\uAC00"), "456"});
    auto refused = saveRegistry(data, registry);
    QVERIFY(!refused.has_value());
    QCOMPARE(refused.error(), QStringLiteral("无法保存文件 %1：包含无法保存的字符：\uAC00").arg(drawFilePath(data, "1")));
    registry[0].draws.removeLast();
    registry[0].name = QStringLiteral("A\U0001F600");
    refused = saveRegistry(data, registry);
    QVERIFY(!refused.has_value());
    QCOMPARE(refused.error(), QStringLiteral("无法保存文件 %1：包含无法保存的字符：\U0001F600").arg(registryFilePath(data)));
    QCOMPARE(readBytes(drawFilePath(data, "1")), saved);
    QCOMPARE(readBytes(registryFilePath(data)), gbk("1$三\r\n"));
}

QTEST_APPLESS_MAIN(TestHistory)
#include "tst_history.moc"
