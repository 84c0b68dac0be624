#include "text/TextFile.h"

#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTest>

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
    void readOrCreateCreatesMissingFile();
    void failedSaveKeepsPreviousFile();
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
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF" "1$\xE7\xA6\x8F\r\n") << QStringList{QStringLiteral("1$福")};
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

void TestTextFile::readOrCreateCreatesMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lottery_9.data"));
    QVERIFY(readOrCreateTextLines(path).isEmpty());
    QVERIFY(QFile::exists(path));
    QCOMPARE(QFileInfo(path).size(), 0);
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

QTEST_APPLESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
