#include "gui/app/AppServices.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace numsieve::gui;

// The real message boxes: captions and buttons in the program's language.
class TestServices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void messageBoxes_data();
    void messageBoxes();
    void suggestedFileNames_data();
    void suggestedFileNames();
};

namespace {

struct Shown {
    QString caption;
    QStringList buttons;
    bool wrapped = true;
};

} // namespace

void TestServices::initTestCase()
{
    installChineseTranslations();
    // Qt's own dialogs, the file dialogs among them, speak Chinese.
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"), QStringLiteral("文件名称(&N)："));
}

void TestServices::messageBoxes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("press");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("warning") << 0 << "确定" << "提示" << QStringList{"确定"};
    QTest::newRow("exit question") << 1 << "取消" << "退出" << QStringList{"是", "否", "取消"};
    QTest::newRow("confirm") << 2 << "是" << "提示" << QStringList{"是", "否"};
}

void TestServices::messageBoxes()
{
    QFETCH(int, kind);
    QFETCH(QString, press);
    QFETCH(QString, caption);
    QFETCH(QStringList, buttons);
    DesktopServices services;
    Shown shown;
    QTimer::singleShot(0, [&shown, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        shown.caption = box->windowTitle();
        QAbstractButton *chosen = nullptr;
        for (QAbstractButton *b : box->buttons()) {
            shown.buttons << b->text();
            if (b->text() == press)
                chosen = b;
        }
        if (auto *label = box->findChild<QLabel *>("qt_msgbox_label"))
            shown.wrapped = label->wordWrap();
        QVERIFY(chosen);
        chosen->click();
    });
    const QString text = QStringLiteral("没有找到打印服务，无法打印。\n号码已保存在文件：\n/a/very/long/folder/号码打印.txt");
    switch (kind) {
    case 0: services.warn(nullptr, text); break;
    case 1: QCOMPARE(services.ask(nullptr, caption, text), Answer::Cancel); break;
    default: QVERIFY(services.confirm(nullptr, caption, text)); break;
    }
    QCOMPARE(shown.caption, caption);
    shown.buttons.sort();
    buttons.sort();
    QCOMPARE(shown.buttons, buttons);
    // A text laid out in lines is not wrapped again, so the path stays whole.
    QVERIFY(!shown.wrapped);
}

// What a save dialog offers: the parts that say what the file holds, none
// of them able to lead the file elsewhere.
void TestServices::suggestedFileNames_data()
{
    QTest::addColumn<QStringList>("parts");
    QTest::addColumn<QString>("name");
    QTest::newRow("lottery, list, issue") << QStringList{"福彩3D", "直选过滤号码", "2026719"}
                                          << "福彩3D_直选过滤号码_2026719";
    QTest::newRow("no draws yet") << QStringList{"排列三", "走势图", "和值", ""} << "排列三_走势图_和值";
    QTest::newRow("separators and reserved characters")
        << QStringList{"../自选/3D", "a:b*c?\"<d>|e\\f", " 2026-001 "} << "自选3D_abcdef_2026-001";
    QTest::newRow("dots would hide it") << QStringList{"..", ".自选", "3.D"} << "自选_3.D";
}

void TestServices::suggestedFileNames()
{
    QFETCH(QStringList, parts);
    QFETCH(QString, name);
    QCOMPARE(suggestedFileName(parts), name);

    // The real save dialog offers it with the extension.
    DesktopServices services;
    QString offered;
    QTimer::singleShot(0, [&offered] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        offered = dialog->findChild<QLineEdit *>("fileNameEdit")->text();
        dialog->reject();
    });
    QCOMPARE(chooseSavePath(services, nullptr, "文本文件(*.txt)", ".txt", name), QString());
    QCOMPARE(offered, name + ".txt");
}

QTEST_MAIN(TestServices)
#include "tst_services.moc"
