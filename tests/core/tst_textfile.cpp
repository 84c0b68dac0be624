#include "core/text/TextFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QProcess>
#include <QTest>

#include <sys/stat.h>

using namespace numsieve;
using namespace testsupport;

class TestTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void encodeIsGbkWithCrLf();
    void roundTripThroughDisk();
    void failedSaveKeepsPreviousFile();
    void onlyRegularFilesOfSaneSize_data();
    void onlyRegularFilesOfSaneSize();
    void fullDiskNamesTheReason();
};

void TestTextFile::decode_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("lf") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("crlf") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("blanks kept") << QByteArray(" 7$x \r\n\r\n") << QStringList{" 7$x ", ""};
    QTest::newRow("gbk") << gbk(QStringLiteral("1$福彩3D\r\n")) << QStringList{QStringLiteral("1$福彩3D")};
    QTest::newRow("utf8 without mark, no gbk") << QByteArray("1$\xE4\xB8\x89\r\n") << QStringList{QStringLiteral("1$三")};
    QTest::newRow("valid in both reads as gbk") << QByteArray("\xE4\xB8\x89\xE4") << QStringList{QStringLiteral("涓変")};
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF" "1$\xE7\xA6\x8F\r\n") << QStringList{QStringLiteral("1$福")};
    QTest::newRow("cr only") << QByteArray("1$123\r2$456\r") << QStringList{"1$123", "2$456"};
    QTest::newRow("mixed ends") << QByteArray("a\rb\nc\r\n\r\nd") << QStringList{"a", "b", "c", "", "d"};
    QTest::newRow("utf16 le bom") << QByteArray("\xFF\xFE" "1\0$\0" "2\0" "3\0" "4\0\r\0\n\0", 14)
                                  << QStringList{"1$234"};
    QTest::newRow("utf16 be bom") << QByteArray("\xFE\xFF\0" "1\0$\0" "9\0" "9\0" "9\0\n", 14)
                                  << QStringList{"1$999"};
    QTest::newRow("invalid bytes") << QByteArray("\xFF\xFF\x81\n9\n") << QStringList{};
}

void TestTextFile::decode()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    const QStringList got = decodeLines(bytes);
    if (QByteArray(QTest::currentDataTag()) == "invalid bytes") {
        // Undecodable bytes must not cost the following lines.
        QCOMPARE(got.size(), 2);
        QCOMPARE(got.last(), QStringLiteral("9"));
        return;
    }
    QCOMPARE(got, lines);
}

void TestTextFile::encodeIsGbkWithCrLf()
{
    QCOMPARE(encodeLines({QStringLiteral("1$福彩3D")}), QByteArray("1$\xB8\xA3\xB2\xCA" "3D\r\n"));
    QCOMPARE(encodeLines({}), QByteArray());
    QCOMPARE(encodeLines({QString(), QStringLiteral("x")}), QByteArray("\r\nx\r\n"));
}

void TestTextFile::roundTripThroughDisk()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.data"));
    const QStringList lines{QStringLiteral("2$排列三"), QStringLiteral("3$时时乐 ")};
    QVERIFY(writeTextLines(path, lines).has_value());
    auto back = readTextLines(path);
    QVERIFY(back.has_value());
    QCOMPARE(*back, lines);
    QVERIFY(!readTextLines(dir.filePath(QStringLiteral("missing"))).has_value());
}

void TestTextFile::failedSaveKeepsPreviousFile()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("ro"));
    QVERIFY(QDir().mkpath(folder));
    const QString path = QDir(folder).filePath(QStringLiteral("numbers.txt"));
    const QByteArray before("123\r\n456\r\n");
    QVERIFY(writeBytes(path, before));
    {
        ReadOnlyFolder readOnly(folder);
        if (!readOnly.effective())
            QSKIP("cannot make a folder read-only on this machine");
        auto result = writeTextLines(path, {QStringLiteral("789")});
        QVERIFY(!result.has_value());
        QVERIFY(result.error().contains(QStringLiteral("numbers.txt")));
        QCOMPARE(readBytes(path), before);
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"numbers.txt"});
    }
    QVERIFY(writeTextLines(path, {QStringLiteral("789")}).has_value());
    QCOMPARE(readBytes(path), QByteArray("789\r\n"));
}

void TestTextFile::onlyRegularFilesOfSaneSize_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing") << "missing" << "无法读取文件 %1：文件不存在";
    QTest::newRow("folder") << "folder" << "%1 不是普通文件，无法读取";
    QTest::newRow("pipe") << "pipe" << "%1 不是普通文件，无法读取";
    QTest::newRow("endless device") << "/dev/zero" << "%1 不是普通文件，无法读取";
    QTest::newRow("over 64 MB") << "huge" << "文件 %1 超过64MB，无法读取";
    QTest::newRow("exactly 64 MB") << "limit" << "";
}

void TestTextFile::onlyRegularFilesOfSaneSize()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir dir;
    QString path = dir.filePath(kind);
    if (kind == "folder")
        QVERIFY(QDir().mkpath(path));
    else if (kind == "pipe")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);   // reading it would wait forever
    else if (kind.startsWith('/'))
        path = kind;
    else if (kind == "huge" || kind == "limit") {
        QFile file(path);   // sparse: costs no disk
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(kMaxFileBytes + (kind == "huge" ? 1 : 0)));
    }
    const auto bytes = readFileBytes(path);
    if (message.isEmpty()) {
        QCOMPARE(bytes.value_or(QByteArray()).size(), kMaxFileBytes);
        return;
    }
    QVERIFY(!bytes.has_value());
    QCOMPARE(bytes.error(), message.arg(path));
}

void TestTextFile::fullDiskNamesTheReason()
{
    QTemporaryDir dir;
    const QString disk = dir.filePath("small");
    QVERIFY(QDir().mkpath(disk));
    // A tiny disk of its own; only where the test may mount one.
    if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", disk}) != 0)
        QSKIP("cannot mount a small disk here");
    const QString a = disk + "/lottery_1.data";
    const QString b = disk + "/lottery.data";
    QVERIFY(writeBytes(a, "old$111\r\n") && writeBytes(b, "1$A\r\n"));
    const auto saved = saveFilesAtomically({{a, QByteArray(20000, 'x')}, {b, QByteArray(100000, 'y')}}, disk);
    const QStringList left = QDir(disk).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    const QByteArray oldA = readBytes(a), oldB = readBytes(b);
    QProcess::execute("umount", {disk});
    QVERIFY(!saved.has_value());
    QCOMPARE(saved.error(), QString("无法保存文件 %1：磁盘空间不足").arg(b));
    QCOMPARE(oldA, QByteArray("old$111\r\n"));
    QCOMPARE(oldB, QByteArray("1$A\r\n"));
    QCOMPARE(left, (QStringList{"lottery.data", "lottery_1.data"}));
}

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
