#include "core/Workspace.h"
#include "core/history/DataFolder.h"
#include "core/results/NumberListFile.h"
#include "core/scheme/SchemeFile.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>

using namespace numsieve;
using namespace testsupport;

namespace {

enum class Kind { Registry, Scheme, NumberList };

// Two versions of everything one kind of save writes; the saver alternates
// between them, so any file found afterwards must be one or the other.
LotteryRegistry registryVersion(int version)
{
    LotteryRegistry registry;
    for (const QString id : {"1", "2", "3"}) {
        Lottery lottery{QStringLiteral("彩种") + id, id, {}};
        for (int i = 0; i < 8000; ++i)
            lottery.draws.append(Draw{QString::number(2000000 + i), QStringLiteral("%1").arg((i * 7 + version) % 1000, 3, 10, QLatin1Char('0'))});
        registry.append(lottery);
    }
    return registry;
}

QString schemeVersion(int version)
{
    Workspace w;
    w.toleranceIndex = version;
    QString advanced;
    for (int i = 0; i < 3000; ++i)
        advanced += QStringLiteral("和值[0]!=%1;\r\n").arg(i + version);
    w.setAdvancedConditionText(advanced);
    return buildSchemeText(w);
}

QStringList numberVersion(int version)
{
    QStringList numbers;
    for (int n = version; n < 1000; n += 2)
        numbers.append(QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')));
    return numbers;
}

// Saves one kind over and over, as the window and the manager save it, until
// killed. It says "ready" once the two versions are built, so that the kill
// falls among the saves.
[[noreturn]] void saveForever(Kind kind, const QString &dir)
{
    const LotteryRegistry registries[2] = {registryVersion(0), registryVersion(1)};
    const QString schemes[2] = {schemeVersion(0), schemeVersion(1)};
    const QStringList lists[2] = {numberVersion(0), numberVersion(1)};
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    for (int round = 0;; ++round) {
        const int version = round % 2;
        switch (kind) {
        case Kind::Registry: (void)saveRegistry(dir, registries[version]); break;
        case Kind::Scheme: (void)writeSchemeFile(dir + "/plan.cnd", schemes[version]); break;
        case Kind::NumberList: (void)writeNumberListFile(dir + "/list.txt", lists[version]); break;
        }
    }
}

// The bytes of every file one kind writes, for both versions.
QList<QMap<QString, QByteArray>> versions(Kind kind)
{
    QList<QMap<QString, QByteArray>> out;
    for (int version : {0, 1}) {
        QTemporaryDir dir;
        switch (kind) {
        case Kind::Registry: (void)saveRegistry(dir.path(), registryVersion(version)); break;
        case Kind::Scheme: (void)writeSchemeFile(dir.filePath("plan.cnd"), schemeVersion(version)); break;
        case Kind::NumberList: (void)writeNumberListFile(dir.filePath("list.txt"), numberVersion(version)); break;
        }
        QMap<QString, QByteArray> files;
        for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
            files.insert(name, readBytes(dir.filePath(name)));
        out.append(files);
    }
    return out;
}

} // namespace

// A save killed at any moment leaves every file whole: the old version or
// the new one, never cut short or mixed.
class TestKillSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void killedAtRandom_data();
    void killedAtRandom();
};

void TestKillSave::killedAtRandom_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("lotteries and draws") << int(Kind::Registry);
    QTest::newRow("scheme") << int(Kind::Scheme);
    QTest::newRow("number list") << int(Kind::NumberList);
}

void TestKillSave::killedAtRandom()
{
    QFETCH(int, kind);
    const auto both = versions(Kind(kind));
    QVERIFY(!both.first().isEmpty());
    QTemporaryDir dir;
    for (auto it = both.first().cbegin(); it != both.first().cend(); ++it)
        QVERIFY(writeBytes(dir.filePath(it.key()), it.value()));

    int intact = 0;
    int renewed = 0;   // kills after which some file held the other version: saves did land
    for (int kill = 0; kill < 100; ++kill) {
        QProcess saver;
        saver.start(QCoreApplication::applicationFilePath(), {"--save-forever", QString::number(kind), dir.path()});
        QVERIFY(saver.waitForReadyRead(30000));
        QTest::qSleep(int(QRandomGenerator::global()->bounded(0, 40)));
        ::kill(pid_t(saver.processId()), SIGKILL);
        QVERIFY(saver.waitForFinished());
        bool whole = true;
        bool other = false;
        for (auto it = both.first().cbegin(); it != both.first().cend(); ++it) {
            const QByteArray now = readBytes(dir.filePath(it.key()));
            whole = whole && (now == it.value() || now == both.last().value(it.key()));
            other = other || now == both.last().value(it.key());
        }
        intact += whole;
        renewed += other;
    }
    QCOMPARE(intact, 100);
    QVERIFY2(renewed > 10, qPrintable(QString::number(renewed)));
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--save-forever")
        saveForever(Kind(QByteArray(argv[2]).toInt()), QString::fromLocal8Bit(argv[3]));
    TestKillSave test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killsave.moc"
