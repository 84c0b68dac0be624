#include "gui/app/CMyNumSieveDlg.h"
#include "gui/history/CDialogManger.h"
#include "gui/history/CDialogTableImport.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace numsieve;
using namespace numsieve::gui;
using namespace guitest;
using namespace testsupport;

// A table brought into the lottery manager, pasted or opened: the preview
// shows what was read, 导入 merges it into the working copy, and only 保存
// writes the files.
class TestTableImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void pastePreviewImportSave_data();
    void pastePreviewImportSave();
    void openedTableCancelledOrRefused();

private:
    // Runs the manager from the main window; `edit` drives it, `preview`
    // the table preview whenever one opens.
    void withManager(CMyNumSieveDlg &w, const std::function<void(CDialogManger &)> &edit,
                     const std::function<void(CDialogTableImport &)> &preview);

    std::unique_ptr<QTemporaryDir> m_dir;
    FakeServices m_services;
};

void TestTableImport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_services = FakeServices();
    QVERIFY(writeTwoLotteryFolder(m_dir->filePath("data"), "2024001$123\r\n"));
}

void TestTableImport::withManager(CMyNumSieveDlg &w, const std::function<void(CDialogManger &)> &edit,
                                  const std::function<void(CDialogTableImport &)> &preview)
{
    m_services.whileModal = [&](QDialog *dialog) {
        if (auto *manager = qobject_cast<CDialogManger *>(dialog))
            edit(*manager);
        else if (auto *table = qobject_cast<CDialogTableImport *>(dialog))
            preview(*table);
    };
    button(w, CMyNumSieveDlg::IdLotteryManager)->click();
}

void TestTableImport::pastePreviewImportSave_data()
{
    QTest::addColumn<int>("answer");   // to "保留本地的 / 换成新的 / 取消"
    QTest::addColumn<QStringList>("warnings");
    QTest::addColumn<QByteArray>("saved");
    QTest::addColumn<bool>("backup");
    const QStringList report{"按奖期排列：\n2024000插入到2024001之前", "成功导入3期号码,自动过滤掉1个已存在的奖期号码"};
    QTest::newRow("keep the held number") << int(Answer::Yes)
                                          << (QStringList{"1期的开奖号码与本地不同，保留了本地的号码：\n2024001：本地123，新的999"} + report)
                                          << QByteArray("2024000$012\r\n2024001$123\r\n2024002$456\r\n2024003$789\r\n") << false;
    QTest::newRow("take the new number")
        << int(Answer::No)
        << QStringList{"1期的开奖号码与本地不同，已换成新的号码：\n2024001：本地123，新的999", "按奖期排列：\n2024000插入到2024001之前",
                       "成功导入3期号码"}
        << QByteArray("2024000$012\r\n2024001$999\r\n2024002$456\r\n2024003$789\r\n") << true;
    QTest::newRow("cancel") << int(Answer::Cancel) << QStringList{} << QByteArray("2024001$123\r\n") << false;
}

void TestTableImport::pastePreviewImportSave()
{
    QFETCH(int, answer);
    QFETCH(QStringList, warnings);
    QFETCH(QByteArray, saved);
    QFETCH(bool, backup);
    // As a web page lists them: newest first, a header, a test number before
    // the draw, full-width digits, a number that lost its leading zero, and
    // an issue held here with another number.
    QGuiApplication::clipboard()->setText(QStringLiteral("期号\t试机号\t开奖号码\n"
                                                         "2024003\t111\t７８９\n"
                                                         "2024002\t222\t456\n"
                                                         "2024001\t333\t999\n"
                                                         "2024000\t444\t12\n"));
    m_services.askAnswers << Answer(answer);
    QStringList shown;
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(
        w,
        [&](CDialogManger &m) {
            m.show();
            QVERIFY(QTest::qWaitForWindowActive(&m));
            QCOMPARE(m.edit(LotteryManager::IssueEdit)->text(), QString("2024002"));   // the next issue, waiting
            m.drawList()->setFocus();
            QTest::keyClick(m.drawList(), Qt::Key_V, Qt::ControlModifier);
            // Nothing is written before 保存.
            QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n"));
            m.button(CDialogManger::IdSave)->click();
            m.button(CDialogManger::IdOk)->click();
        },
        [&](CDialogTableImport &p) {
            shown << p.layoutLabel()->text() << p.intakeLabel()->text();
            const QAbstractItemModel *model = p.drawTable()->model();
            for (int r = 0; r < model->rowCount(); ++r)
                shown << model->index(r, 0).data().toString() + '|' + model->index(r, 1).data().toString() + '|'
                             + model->index(r, 2).data().toString();
            // Issues of digits stand by their values: the order cannot be wrong.
            QVERIFY(!p.reverseBox()->isEnabled());
            p.importButton()->click();
        });
    QCOMPARE(m_services.modalDialogs, (QStringList{"彩票管理", "从表格导入"}));
    QCOMPARE(shown, (QStringList{"导入到：1 - 福彩3D\n第1列为奖期，第3列为开奖号码，新的在前；共4期，按下表的顺序保存\n"
                                 "第5行的开奖号码不足三位，已在前面补0（电子表格常去掉开头的0）",
                                 "将新增3期，0期已有且相同\n2024000插入到2024001之前\n"
                                 "1期与本地的开奖号码不同（导入时会问保留哪个）：2024001：本地123，新的999",
                                 "2024000|012|第5行：2024000  444  12", "2024001|999|第4行：2024001  333  999",
                                 "2024002|456|第3行：2024002  222  456", "2024003|789|第2行：2024003  111  ７８９"}));
    QCOMPARE(m_services.questions.size(), 1);
    QVERIFY2(m_services.questions.first().startsWith("提示|1期的开奖号码与本地的不同：\n2024001：本地123，新的999\n"),
             qPrintable(m_services.questions.first()));
    if (backup)   // the save names the folder it kept the old file in
        QVERIFY(m_services.warnings.takeLast().startsWith("保存前，被替换的开奖号码文件已备份到："));
    QCOMPARE(m_services.warnings, warnings);
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), saved);
    QCOMPARE(QDir(m_dir->filePath("data/backup")).entryList(QDir::Files).size(), backup ? 1 : 0);
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_2.data")), QByteArray("5$789\r\n"));
}

void TestTableImport::openedTableCancelledOrRefused()
{
    const QString table = m_dir->filePath("draws.csv");
    QVERIFY(writeBytes(table, gbk("期号,开奖日期,开奖号码\r\n2024002,2024/1/2,456\r\n")));
    const QString refused = m_dir->filePath("pick4.csv");
    QVERIFY(writeBytes(refused, "2024002,4,5,6,7\r\n"));
    m_services.openAnswers << table << refused;
    int previews = 0;
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(
        w,
        [&](CDialogManger &m) {
            QAbstractButton *tableButton = m.button(CDialogManger::IdTableImport);
            QCOMPARE(tableButton->text(), QString("从表格导入..."));
            // Beside 导入号码, in the row's free place, inside the group.
            QCOMPARE(tableButton->geometry().top(), m.button(LotteryManager::ImportDraws)->geometry().top());
            QVERIFY(tableButton->geometry().left() > m.button(LotteryManager::ImportDraws)->geometry().right());
            tableButton->click();
            tableButton->click();
            QCOMPARE(m.manager().drawEntries(), QStringList{"2024001 - 123"});
            // In draw edit mode, as 导入号码, it waits.
            m.drawList()->setCurrentRow(0);
            emit m.drawList()->itemDoubleClicked(m.drawList()->item(0));
            QVERIFY(!tableButton->isEnabled());
            m.button(CDialogManger::IdCancel)->click();
        },
        [&](CDialogTableImport &p) {
            ++previews;
            QCOMPARE(p.skippedList()->item(0)->text(), QString("（无）"));
            p.reject();
        });
    QCOMPARE(previews, 1);
    QCOMPARE(m_services.fileFilters, (QStringList{CDialogManger::kTableFilter, CDialogManger::kTableFilter}));
    QCOMPARE(m_services.warnings, QStringList{"第1行的开奖号码不是3位数字，不是三位数彩票的开奖号码"});
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n"));
}

QTEST_MAIN(TestTableImport)
#include "tst_tableimport.moc"
