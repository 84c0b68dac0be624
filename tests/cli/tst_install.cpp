#include "core/Workspace.h"
#include "core/scheme/SchemeFile.h"

#include "CliRun.h"
#include "TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace testsupport;

namespace {

// The build folder the tool under test was built in.
QString buildFolder()
{
    return QFileInfo(QStringLiteral(NUMSIEVE_CLI_PATH)).dir().absoluteFilePath(QStringLiteral(".."));
}

} // namespace

// The program installed as a desktop program: every file in place, the menu
// entry and the description valid, and the installed tool working from a
// prefix nobody can write, with the user's own data folder.
class TestInstall : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void installedProgramUsesTheUsersDataFolder();
};

void TestInstall::installedProgramUsesTheUsersDataFolder()
{
    QTemporaryDir stage;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DESTDIR", stage.path());
    Run r = run("cmake", {"--install", buildFolder(), "--prefix", "/usr/local"}, env);
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));

    const QString prefix = stage.filePath("usr/local");
    const QStringList files = {"bin/numsieve", "bin/numsieve-cli", "bin/numsieve-script",
                               "share/applications/numsieve.desktop",
                               "share/metainfo/io.github.numsieve.NumSieve.metainfo.xml",
                               "share/icons/hicolor/scalable/apps/numsieve.svg",
                               "share/icons/hicolor/48x48/apps/numsieve.png",
                               "share/icons/hicolor/128x128/apps/numsieve.png",
                               "share/icons/hicolor/256x256/apps/numsieve.png",
                               "share/numsieve/lottery.data", "share/man/man1/numsieve-cli.1",
                               "share/man/man1/numsieve.1"};
    for (const QString &file : files)
        QVERIFY2(QFileInfo(prefix + '/' + file).isFile(), qPrintable(file));
    r = run("desktop-file-validate", {prefix + "/share/applications/numsieve.desktop"});
    QVERIFY2(r.exitCode == 0 && r.out.isEmpty(), qPrintable(r.out + r.err));
    r = run("appstreamcli", {"validate", "--no-net", prefix + "/share/metainfo/io.github.numsieve.NumSieve.metainfo.xml"});
    QVERIFY2(r.exitCode == 0, qPrintable(r.out + r.err));

    // Nobody may write beside the installed programs, not even the superuser.
    const QString bin = prefix + "/bin";
    const bool root = ::geteuid() == 0;
    QVERIFY(QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    if (root)
        QCOMPARE(QProcess::execute("chattr", {"+i", bin}), 0);
    QTemporaryDir home;
    QProcessEnvironment user = QProcessEnvironment::systemEnvironment();
    user.insert("HOME", home.path());
    user.remove("XDG_DATA_HOME");
    user.remove("NUMSIEVE_DATA");
    const QString data = home.filePath(".local/share/NumSieve/data");
    const Run version = run(bin + "/numsieve-cli", {"--version"}, user);

    Workspace w;
    w.selection.hundreds.setSelected(1, true);
    w.selection.tens.setSelected(2, true);
    w.selection.units.setSelected(3, true);
    const QString scheme = home.filePath("plan.cnd");
    QVERIFY(writeSchemeFile(scheme, buildSchemeText(w)).has_value());
    const Run filtered = run(bin + "/numsieve-cli", {"filter", "--scheme", scheme}, user);
    const QStringList beside = QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    if (root)
        QProcess::execute("chattr", {"-i", bin});

    QCOMPARE(version.exitCode, 0);
    QCOMPARE(version.out, "numsieve-cli 1.5.2 Beta\n数据文件夹 / data folder: " + data + "\n");
    QCOMPARE(readBytes(data + "/lottery.data"), readBytes(prefix + "/share/numsieve/lottery.data"));
    QCOMPARE(filtered.exitCode, 0);
    QCOMPARE(filtered.out, QString("123\n"));
    QVERIFY(QFileInfo(data + "/lottery_1.data").isFile());
    QCOMPARE(beside, (QStringList{"numsieve", "numsieve-cli", "numsieve-script"}));
}

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
