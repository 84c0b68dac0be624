#include "app/CMyNumSieveDlg.h"
#include "history/CDialogManger.h"
#include "history/CDialogTableImport.h"

#include "GuiTestSupport.h"
#include "TestSupport.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
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
    QDir().mkpath(m_dir->filePath("data"));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery.data"), gbk("1$福彩3D\r\n2$排列三\r\n")));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_1.data"), "2024001$123\r\n"));
    QVERIFY(writeBytes(m_dir->filePath("data/lottery_2.data"), "5$789\r\n"));
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

void TestTableImport::pastePreviewImportSave()
{
    // As a web page lists them: newest first, a header, a test number before
    // the draw, full-width digits and a line that is not a draw.
    QGuiApplication::clipboard()->setText(QStringLiteral("期号\t试机号\t开奖号码\n"
                                                         "2024003\t111\t７８９\n"
                                                         "2024002\t222\t456\n"
                                                         "2024001\t333\t123\n"
                                                         "2024000\t444\t12\n"));
    QStringList shown;
    CMyNumSieveDlg w(m_services, m_dir->path());
    withManager(
        w,
        [&](CDialogManger &m) {
            m.show();
            QVERIFY(QTest::qWaitForWindowActive(&m));
            m.drawList()->setFocus();
            QTest::keyClick(m.drawList(), Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(m.manager().drawEntries(), (QStringList{"2024001 - 123", "2024002 - 456", "2024003 - 789"}));
            // Nothing is written before 保存.
            QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")), QByteArray("2024001$123\r\n"));
            m.button(CDialogManger::IdSave)->click();
            m.button(CDialogManger::IdOk)->click();
        },
        [&](CDialogTableImport &p) {
            shown << p.layoutLabel()->text();
            for (int r = 0; r < p.drawTable()->rowCount(); ++r)
                shown << p.drawTable()->item(r, 0)->text() + '|' + p.drawTable()->item(r, 1)->text() + '|'
                             + p.drawTable()->item(r, 2)->text();
            for (int r = 0; r < p.skippedList()->count(); ++r)
                shown << p.skippedList()->item(r)->text();
            // Turned round and back: the order the reader found stands.
            p.reverseBox()->click();
            QCOMPARE(p.drawTable()->item(0, 0)->text(), QString("2024003"));
            p.reverseBox()->click();
            p.importButton()->click();
        });
    QCOMPARE(m_services.modalDialogs, (QStringList{"彩票管理", "从表格导入"}));
    QCOMPARE(shown, (QStringList{"第1列为奖期，第3列为开奖号码，新的在前；共3期，按下表的顺序保存",
                                 "2024001|123|第4行：2024001  333  123",
                                 "2024002|456|第3行：2024002  222  456",
                                 "2024003|789|第2行：2024003  111  ７８９",
                                 "第5行：第3列不是三位数的开奖号码：2024000  444  12"}));
    QCOMPARE(m_services.warnings, (QStringList{"成功导入2期号码,自动过滤掉1个已存在的奖期号码"}));
    QCOMPARE(readBytes(m_dir->filePath("data/lottery_1.data")),
             QByteArray("2024001$123\r\n2024002$456\r\n2024003$789\r\n"));
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
