// The flat boxes, the bitmap combo box and the please-wait window.

#include "gui/app/CDialogProgress.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CComboBoxFlat.h"
#include "gui/ui/CEditFlat.h"
#include "gui/ui/CLineEditFlat.h"
#include "gui/ui/CListBoxFlat.h"
#include "gui/ui/CWEEditCtrl.h"

#include <QLabel>
#include <QPainter>
#include <QtTest>

#include <stdexcept>

using namespace numsieve::gui;

namespace {

const QColor kFlat(136, 172, 213);
const QColor kWhite(255, 255, 255);

} // namespace

class TestSkinControls : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flatBoxesHaveAFrameWithALineInside_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QColor>("frame");
        QTest::addColumn<QColor>("inner");
        QTest::newRow("list") << "list" << kFlat << kWhite;
        QTest::newRow("multi-line edit") << "edit" << kFlat << kWhite;
        QTest::newRow("digit edit") << "digits" << kFlat << kWhite;
        QTest::newRow("combo") << "combo" << kFlat << kWhite;
        QTest::newRow("two-colour edit") << "we" << QColor(113, 161, 233) << kWhite;
        QTest::newRow("two-colour edit, own colours") << "we-own" << QColor(200, 30, 30) << QColor(250, 250, 200);
    }

    void flatBoxesHaveAFrameWithALineInside()
    {
        QFETCH(QString, kind);
        QFETCH(QColor, frame);
        QFETCH(QColor, inner);
        std::unique_ptr<QWidget> w;
        if (kind == "list")
            w = std::make_unique<CListBoxFlat>();
        else if (kind == "edit")
            w = std::make_unique<CEditFlat>();
        else if (kind == "digits")
            w = std::make_unique<CLineEditFlat>(3);
        else if (kind == "combo")
            w = std::make_unique<CComboBoxFlat>();
        else {
            auto edit = std::make_unique<CWEEditCtrl>();
            if (kind == "we-own") {
                edit->setFrameColour(frame);
                edit->setBackgroundColour(inner);
            }
            w = std::move(edit);
        }
        w->resize(80, 40);
        w->show();
        const QImage shot = w->grab().toImage();
        for (const QPoint &edge : {QPoint(0, 0), QPoint(79, 39), QPoint(40, 0), QPoint(0, 20)})
            QCOMPARE(shot.pixelColor(edge), frame);
        for (const QPoint &line : {QPoint(1, 1), QPoint(78, 38), QPoint(40, 1), QPoint(1, 20)})
            QCOMPARE(shot.pixelColor(line), inner);
    }

    void flatComboDrawsItsArrowInTheFrameColour()
    {
        CComboBoxFlat combo;
        combo.addItem("前1期");
        combo.resize(90, 22);
        combo.show();
        const QImage shot = combo.grab().toImage();
        const QRect button = combo.dropButtonRect();
        QVERIFY(button.right() < 89 && button.left() > 45);
        int arrow = 0;
        for (int y = button.top(); y <= button.bottom(); ++y)
            for (int x = button.left(); x <= button.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                QVERIFY2(c == kWhite || c == kFlat || (c.red() > c.green() - 60 && c.blue() >= c.green()),
                         qPrintable(c.name()));
                arrow += c == kFlat;
            }
        QVERIFY(arrow > 3);
    }

    void digitEditTakesDigitsUpToItsLength_data()
    {
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::addColumn<QString>("pasted");
        QTest::newRow("digits") << 3 << "123" << "123" << "123";
        QTest::newRow("letters and signs dropped") << 3 << "1a-2 b" << "12" << "";
        QTest::newRow("cut at the length") << 2 << "98765" << "98" << "98";
        QTest::newRow("full-width digits dropped") << 3 << "１2" << "2" << "";
    }

    void digitEditTakesDigitsUpToItsLength()
    {
        QFETCH(int, maxLength);
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QFETCH(QString, pasted);
        CLineEditFlat edit(maxLength);
        edit.show();
        for (const QChar c : typed) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(&edit, &press);
        }
        QCOMPARE(edit.text(), kept);
        // a paste that is not all digits is refused whole
        edit.clear();
        edit.insert(typed);
        QCOMPARE(edit.text(), pasted);
    }

    void bitComboPaintsItsThreeParts()
    {
        QPixmap left(4, 20), middle(8, 20), button(18, 20);
        left.fill(Qt::red);
        middle.fill(Qt::green);
        button.fill(Qt::blue);
        CBitComboBox combo;
        combo.setParts({left, middle, button});
        combo.resize(100, 20);
        combo.show();
        const QImage shot = combo.grab().toImage();
        QCOMPARE(shot.pixelColor(1, 1), QColor(Qt::red));
        QCOMPARE(shot.pixelColor(50, 1), QColor(Qt::green)); // the middle is stretched
        QCOMPARE(shot.pixelColor(80, 1), QColor(Qt::green));
        QCOMPARE(shot.pixelColor(83, 1), QColor(Qt::blue));
        QCOMPARE(shot.pixelColor(99, 19), QColor(Qt::blue));
        QCOMPARE(combo.sizeHint().height(), 20);
    }

    void bitComboItemsUseTheirColours_data()
    {
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<QColor>("background");
        QTest::newRow("normal") << int(QStyle::State_None) << false << QColor(10, 20, 30);
        QTest::newRow("selected") << int(QStyle::State_Selected) << true << QColor(200, 210, 220);
        // After a wheel turn the row under the resting mouse is not the
        // selected one; only the selected row is lit.
        QTest::newRow("under the mouse") << int(QStyle::State_MouseOver) << false << QColor(10, 20, 30);
    }

    void bitComboItemsUseTheirColours()
    {
        QFETCH(int, state);
        QFETCH(bool, selected);
        QFETCH(QColor, background);
        CBitComboBox combo;
        combo.addItems({"福彩3D", "排列三"});
        combo.setItemColours(QColor(200, 210, 220), QColor(1, 2, 3), QColor(10, 20, 30), QColor(4, 5, 6));
        QImage canvas(120, 18, QImage::Format_RGB32);
        canvas.fill(Qt::black);
        QPainter p(&canvas);
        QStyleOptionViewItem option;
        option.rect = canvas.rect();
        option.font = combo.font();
        option.state = QStyle::State_Enabled | QStyle::State(state);
        combo.itemDelegate()->paint(&p, option, combo.model()->index(0, 0));
        p.end();
        QCOMPARE(canvas.pixelColor(1, 1), background);
        QCOMPARE(canvas.pixelColor(119, 17), background);
        const QColor text = selected ? QColor(1, 2, 3) : QColor(4, 5, 6);
        bool textSeen = false;
        for (int x = 0; x < 120 && !textSeen; ++x)
            for (int y = 0; y < 18 && !textSeen; ++y)
                textSeen = canvas.pixelColor(x, y) == text;
        QVERIFY(textSeen);
    }

    void progressWindowShowsCaptionAndText()
    {
        ModelessDialogTracker tracker;
        CDialogProgress *dialog = tracker.open("三位筛号器", "请稍候，系统正在启动...");
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->caption(), QString("三位筛号器"));
        QCOMPARE(dialog->text(), QString("请稍候，系统正在启动..."));
        QCOMPARE(CDialogProgress::bodySize(), QSize(279, 72));
        QCOMPARE(dialog->size(), QSize(279, 72 + CDialogProgress::captionHeight));
        QVERIFY(dialog->windowFlags() & Qt::FramelessWindowHint);
        dialog->setText("请稍候，系统正在计算遗漏数据...");
        QCOMPARE(dialog->findChildren<QLabel *>().at(1)->text(), QString("请稍候，系统正在计算遗漏数据..."));
    }

    void progressGuardClosesOnEveryWayOut_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("end of scope") << "end";
        QTest::newRow("early return") << "return";
        QTest::newRow("exception") << "throw";
    }

    void progressGuardClosesOnEveryWayOut()
    {
        QFETCH(QString, way);
        ModelessDialogTracker tracker;
        QPointer<CDialogProgress> seen;
        QStringList stages;
        auto operation = [&] {
            ProgressGuard guard(tracker, "请稍候，系统过滤选号信息...");
            seen = guard.dialog();
            stages << (seen && seen->isVisible() ? "shown" : "missing");
            if (way == "return")
                return;
            if (way == "throw")
                throw std::runtime_error("stop");
            guard.setText("请稍候，系统正在添加导入信息...");
            stages << seen->text();
        };
        try {
            operation();
        } catch (const std::runtime_error &) {
            stages << "caught";
        }
        QVERIFY(seen.isNull());
        QCOMPARE(tracker.dialog(), nullptr);
        QStringList expected{"shown"};
        if (way == "end")
            expected << "请稍候，系统正在添加导入信息...";
        if (way == "throw")
            expected << "caught";
        QCOMPARE(stages, expected);
    }

    void trackerKeepsOneWindowAndSurvivesItsOwner()
    {
        ModelessDialogTracker tracker;
        QPointer<CDialogProgress> first = tracker.open("三位筛号器", "请稍候，系统正在验证导入信息...");
        QPointer<CDialogProgress> second = tracker.open("三位筛号器", "请稍候，系统正在添加导入信息...");
        QVERIFY(first.isNull());
        QCOMPARE(tracker.dialog(), second.data());

        auto owner = std::make_unique<QWidget>();
        QPointer<CDialogProgress> owned = tracker.open("三位筛号器", "请稍候，系统正在启动...", owner.get());
        QVERIFY(second.isNull());
        owner.reset(); // the owner's window takes the dialog with it
        QVERIFY(owned.isNull());
        QCOMPARE(tracker.dialog(), nullptr);
        tracker.close(); // nothing left to close, and no double delete
    }
};

QTEST_MAIN(TestSkinControls)
#include "tst_skin_controls.moc"
