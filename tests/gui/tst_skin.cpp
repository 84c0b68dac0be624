// The skinned dialog base, the picture buttons and the skin images.

#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CBitmapDialog.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

using namespace numsieve::gui;

namespace {

QPixmap solid(QSize size, const QColor &colour)
{
    QPixmap p(size);
    p.fill(colour);
    return p;
}

QColor pixelAt(QWidget &w, QPoint at)
{
    return w.grab().toImage().pixelColor(at);
}

// Every point of the rectangle that the region leaves out.
QList<QPoint> missing(const QRegion &region, QSize size)
{
    QList<QPoint> out;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            if (!region.contains(QPoint(x, y)))
                out.append(QPoint(x, y));
    return out;
}

void sendEnter(QWidget *w)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(w, &enter);
}

void sendLeave(QWidget *w)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
}

void sendMouse(QWidget *w, QEvent::Type type, QPoint local, QPoint global, Qt::MouseButtons buttons)
{
    QMouseEvent e(type, QPointF(local), QPointF(local), QPointF(global), Qt::LeftButton, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

class TestSkin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shapeLeavesOutOnlyCornerPixelsOfTheKeyColour_data()
    {
        QTest::addColumn<QColor>("key");
        QTest::addColumn<QColor>("paint");
        QTest::addColumn<QPoint>("pixel");
        QTest::addColumn<bool>("cut");

        const QColor black(0, 0, 0), white(255, 255, 255), nearBlack(1, 0, 0);
        QTest::newRow("top-left corner") << black << black << QPoint(0, 0) << true;
        QTest::newRow("inner edge of top-left square") << black << black << QPoint(3, 3) << true;
        QTest::newRow("just right of the square") << black << black << QPoint(4, 0) << false;
        QTest::newRow("just below the square") << black << black << QPoint(0, 4) << false;
        QTest::newRow("top-right corner") << black << black << QPoint(11, 0) << true;
        QTest::newRow("bottom-left square") << black << black << QPoint(2, 7) << true;
        QTest::newRow("bottom-right square") << black << black << QPoint(8, 9) << true;
        QTest::newRow("left of bottom-right square") << black << black << QPoint(7, 9) << false;
        QTest::newRow("black in the middle stays") << black << black << QPoint(6, 5) << false;
        QTest::newRow("nearly black is not the key") << black << nearBlack << QPoint(0, 0) << false;
        QTest::newRow("white key") << white << white << QPoint(1, 1) << true;
        QTest::newRow("black with white key") << white << black << QPoint(1, 1) << false;
    }

    void shapeLeavesOutOnlyCornerPixelsOfTheKeyColour()
    {
        QFETCH(QColor, key);
        QFETCH(QColor, paint);
        QFETCH(QPoint, pixel);
        QFETCH(bool, cut);

        QImage picture(12, 10, QImage::Format_RGB32);
        picture.fill(QColor(120, 160, 200));
        picture.setPixelColor(pixel, paint);

        CBitmapDialog dialog;
        dialog.resize(12, 10);
        dialog.setTransparentColour(key);
        dialog.setBackground(QPixmap::fromImage(picture));
        QVERIFY(dialog.mask().isEmpty()); // shaping is off until asked for
        dialog.setShaped(true);

        const QList<QPoint> expected = cut ? QList<QPoint>{pixel} : QList<QPoint>{};
        QCOMPARE(missing(dialog.mask(), {12, 10}), expected);
    }

    void shapeCoversOnlyThePartOfThePictureInsideTheWindow()
    {
        CBitmapDialog dialog;
        dialog.setBackground(solid({12, 10}, QColor(120, 160, 200)));
        dialog.setShaped(true);
        dialog.resize(20, 6); // wider than the picture, lower than it
        dialog.show();
        QCOMPARE(dialog.mask(), QRegion(0, 0, 12, 6));
        dialog.setShaped(false);
        QVERIFY(dialog.mask().isEmpty());
    }

    void mainBackgroundShapesToRoundedCorners()
    {
        CBitmapDialog dialog;
        dialog.resize(SkinImages::mainSize);
        dialog.setBackground(SkinImages::mainBackground());
        dialog.setShaped(true);
        const int w = SkinImages::mainSize.width(), h = SkinImages::mainSize.height();
        const QList<QPoint> cut = missing(dialog.mask(), SkinImages::mainSize);
        // five pixels per corner, in a stair of 3, 1, 1
        const QList<QPoint> expected{{0, 0},         {1, 0},         {2, 0},         {w - 3, 0},
                                     {w - 2, 0},     {w - 1, 0},     {0, 1},         {w - 1, 1},
                                     {0, 2},         {w - 1, 2},     {0, h - 3},     {w - 1, h - 3},
                                     {0, h - 2},     {w - 1, h - 2}, {0, h - 1},     {1, h - 1},
                                     {2, h - 1},     {w - 3, h - 1}, {w - 2, h - 1}, {w - 1, h - 1}};
        QCOMPARE(cut, expected);
    }

    void paintsTheBackgroundAtTheOrigin()
    {
        QImage picture(30, 20, QImage::Format_RGB32);
        picture.fill(QColor(10, 20, 30));
        picture.setPixelColor(29, 19, QColor(200, 100, 50));
        CBitmapDialog dialog;
        dialog.resize(30, 20);
        dialog.setBackground(QPixmap::fromImage(picture));
        QCOMPARE(pixelAt(dialog, {0, 0}), QColor(10, 20, 30));
        QCOMPARE(pixelAt(dialog, {29, 19}), QColor(200, 100, 50));
    }

    void staticsFollowTheTransparencyFlag()
    {
        CBitmapDialog dialog;
        auto *label = new QLabel("号码", &dialog);
        label->setAutoFillBackground(true);
        dialog.show();
        QVERIFY(!label->autoFillBackground());
        dialog.setTransparentStatics(false);
        QVERIFY(label->autoFillBackground());
        auto *later = new QLabel("和值", &dialog);
        later->show();
        QCoreApplication::sendPostedEvents();
        QVERIFY(later->autoFillBackground());
    }

    void dragMovesTheWindowByTheMouse_data()
    {
        QTest::addColumn<bool>("draggable");
        QTest::addColumn<bool>("onButton");
        QTest::addColumn<QPoint>("moved");
        QTest::newRow("draggable, free area") << true << false << QPoint(20, 15);
        QTest::newRow("draggable, on a control") << true << true << QPoint(0, 0);
        QTest::newRow("not draggable") << false << false << QPoint(0, 0);
    }

    void dragMovesTheWindowByTheMouse()
    {
        QFETCH(bool, draggable);
        QFETCH(bool, onButton);
        QFETCH(QPoint, moved);

        CBitmapDialog dialog(nullptr, Qt::FramelessWindowHint);
        dialog.setGeometry(100, 100, 200, 150);
        dialog.setDraggable(draggable);
        auto *button = new QPushButton("添加", &dialog);
        button->setGeometry(100, 100, 60, 24);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QPoint start = dialog.pos();

        QWidget *target = onButton ? static_cast<QWidget *>(button) : &dialog;
        const QPoint local(10, 10);
        const QPoint global = target->mapToGlobal(local);
        sendMouse(target, QEvent::MouseButtonPress, local, global, Qt::LeftButton);
        sendMouse(target, QEvent::MouseMove, local + QPoint(20, 15), global + QPoint(20, 15), Qt::LeftButton);
        sendMouse(target, QEvent::MouseButtonRelease, local + QPoint(20, 15), global + QPoint(20, 15),
                  Qt::NoButton);
        QCOMPARE(dialog.pos() - start, moved);
        // the move ends with the release
        sendMouse(target, QEvent::MouseMove, local + QPoint(40, 40), global + QPoint(40, 40), Qt::NoButton);
        QCOMPARE(dialog.pos() - start, moved);
    }

    void buttonExFollowsHoverAndActive()
    {
        QWidget parent;
        parent.resize(60, 30);
        auto *button = new CButtonEx("和值", &parent);
        button->setImages(solid({40, 20}, Qt::red), solid({40, 20}, Qt::green), solid({40, 20}, Qt::blue));
        button->setGeometry(0, 0, 40, 20);
        parent.show();
        const QColor darkBlue(0, 54, 101), white(255, 255, 255);

        QCOMPARE(button->currentLook(), CButtonEx::Look::Normal);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::red));
        QCOMPARE(button->captionColour(), darkBlue);

        sendEnter(button);
        QCOMPARE(button->currentLook(), CButtonEx::Look::Hover);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::green));
        QCOMPARE(button->captionColour(), white);

        button->setActive(true);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::blue));
        sendLeave(button);
        QCOMPARE(button->currentLook(), CButtonEx::Look::Pressed);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::blue));
        QCOMPARE(button->captionColour(), white);

        button->setActive(false);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::red));
        QCOMPARE(button->captionColour(), darkBlue);

        button->setDown(true);
        QCOMPARE(pixelAt(*button, {1, 1}), QColor(Qt::blue));
        button->setDown(false);

        button->setTextColourEnabled(false);
        sendEnter(button);
        QCOMPARE(button->captionColour(), button->palette().color(QPalette::ButtonText));
    }

    void buttonExCaptionIsDrawnInItsColour()
    {
        auto *button = new CButtonEx("██");
        std::unique_ptr<CButtonEx> owner(button);
        button->setImages(solid({40, 20}, Qt::red), solid({40, 20}, Qt::green), solid({40, 20}, Qt::blue));
        button->resize(40, 20);
        auto count = [&](const QColor &c) {
            const QImage shot = button->grab().toImage();
            int n = 0;
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    n += shot.pixelColor(x, y) == c;
            return n;
        };
        QVERIFY(count(QColor(0, 54, 101)) > 0);
        QCOMPARE(count(Qt::white), 0);
        button->setActive(true);
        QVERIFY(count(Qt::white) > 0);
        QCOMPARE(count(QColor(0, 54, 101)), 0);
    }

    void hiddenButtonForgetsHover()
    {
        QWidget parent;
        auto *button = new CButtonEx(&parent);
        parent.show();
        sendEnter(button);
        QVERIFY(button->isHovered());
        button->hide();
        button->show();
        QVERIFY(!button->isHovered());
    }

    void magentaInButtonImagesShowsTheParent()
    {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(QColor(30, 60, 90));
        picture.setPixelColor(3, 4, QColor(255, 0, 255));
        const QPixmap image = QPixmap::fromImage(picture);

        QWidget parent;
        parent.resize(20, 10);
        parent.setAutoFillBackground(true);
        QPalette pal = parent.palette();
        pal.setColor(QPalette::Window, QColor(250, 240, 10));
        parent.setPalette(pal);
        auto *button = new CButtonEx(&parent);
        button->setImages(image, image, image);
        button->setGeometry(0, 0, 20, 10);
        parent.show();
        const QImage shot = parent.grab().toImage();
        QCOMPARE(shot.pixelColor(3, 4), QColor(250, 240, 10));
        QCOMPARE(shot.pixelColor(4, 4), QColor(30, 60, 90));
    }

    void bitmapButtonShowsTheLookOfItsState_data()
    {
        QTest::addColumn<bool>("down");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("withDisabled");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("up") << false << true << true << QColor(Qt::red);
        QTest::newRow("down") << true << true << true << QColor(Qt::green);
        QTest::newRow("disabled") << false << false << true << QColor(Qt::gray);
        QTest::newRow("disabled without its own picture") << false << false << false << QColor(Qt::red);
    }

    void bitmapButtonShowsTheLookOfItsState()
    {
        QFETCH(bool, down);
        QFETCH(bool, enabled);
        QFETCH(bool, withDisabled);
        QFETCH(QColor, shown);
        CBitmapButtonEx button;
        button.setImages(solid({100, 30}, Qt::red), solid({100, 30}, Qt::green),
                         withDisabled ? solid({100, 30}, Qt::gray) : QPixmap());
        button.setDown(down);
        button.setEnabled(enabled);
        QCOMPARE(pixelAt(button, {50, 15}), shown);
    }

    void bitmapButtonTakesTheSizeOfItsPicture()
    {
        QWidget parent;
        auto *button = new CBitmapButtonEx(&parent);
        button->resize(10, 10);
        button->setImages(SkinImages::commandButton("保存条件"));
        QCOMPARE(button->size(), QSize(100, 30));
        QCOMPARE(button->sizeHint(), QSize(100, 30));
        button->resize(300, 300);
        QCOMPARE(button->size(), QSize(100, 30));
    }

    void skinImagesHaveTheirSizes_data()
    {
        QTest::addColumn<QPixmap>("image");
        QTest::addColumn<QSize>("size");

        QTest::newRow("main background") << SkinImages::mainBackground() << QSize(1021, 738);
        QTest::newRow("left panel") << SkinImages::panelBackground({408, 259}) << QSize(408, 259);
        QTest::newRow("condition panel") << SkinImages::panelBackground({408, 378}) << QSize(408, 378);
        QTest::newRow("tab page") << SkinImages::tabPageBackground({404, 108}) << QSize(404, 108);
        QTest::newRow("popup") << SkinImages::popupBackground() << QSize(271, 282);
        QTest::newRow("progress") << SkinImages::progressBackground({279, 96}) << QSize(279, 96);
        const SkinImages::TopButton tops[] = {SkinImages::TopButton::Lotteries, SkinImages::TopButton::Draws,
                                              SkinImages::TopButton::Analysis, SkinImages::TopButton::Forum,
                                              SkinImages::TopButton::More};
        for (auto t : tops) {
            const ButtonLooks l = SkinImages::topButton(t);
            const QByteArray name = SkinImages::topButtonCaption(t).toUtf8();
            QTest::newRow(name + " normal") << l.normal << QSize(80, 40);
            QTest::newRow(name + " hover") << l.hover << QSize(80, 40);
            QTest::newRow(name + " pressed") << l.pressed << QSize(80, 40);
        }
        for (const auto &[name, looks] : {std::pair{"minimise", SkinImages::minimiseButton()},
                                          std::pair{"close", SkinImages::closeButton()}}) {
            QTest::newRow((QByteArray(name) + " normal").constData()) << looks.normal << QSize(26, 20);
            QTest::newRow((QByteArray(name) + " hover").constData()) << looks.hover << QSize(26, 20);
            QTest::newRow((QByteArray(name) + " pressed").constData()) << looks.pressed << QSize(26, 20);
        }
        for (const char *caption : {"保存条件", "导入条件", "选号 >>>", "过滤 >>>", "打印号码", "号码交集",
                                    "保存号码", "购买彩票"}) {
            const BitmapLooks l = SkinImages::commandButton(caption);
            QTest::newRow((QByteArray(caption) + " up").constData()) << l.up << QSize(100, 30);
            QTest::newRow((QByteArray(caption) + " down").constData()) << l.down << QSize(100, 30);
        }
        for (bool on : {false, true}) {
            const ButtonLooks l = SkinImages::conditionButton(on);
            const QByteArray row = on ? "on row" : "off row";
            QTest::newRow(row + " normal") << l.normal << QSize(75, 23);
            QTest::newRow(row + " hover") << l.hover << QSize(75, 23);
            QTest::newRow(row + " current") << l.pressed << QSize(75, 23);
        }
        for (bool active : {false, true}) {
            QTest::newRow(active ? "tab active" : "tab inactive") << SkinImages::tab("直选", 88, active) << QSize(88, 30);
            QTest::newRow(active ? "wide tab active" : "wide tab inactive")
                << SkinImages::tab("大底", 136, active) << QSize(136, 30);
        }
        for (bool selected : {false, true}) {
            const BitmapLooks r = SkinImages::radio("包含", selected);
            const BitmapLooks c = SkinImages::checkBox(selected);
            const QByteArray s = selected ? " selected" : " unselected";
            QTest::newRow("radio" + s) << r.up << QSize(42, 15);
            QTest::newRow("radio disabled" + s) << r.disabled << QSize(42, 15);
            QTest::newRow("check" + s) << c.up << QSize(47, 15);
            QTest::newRow("check disabled" + s) << c.disabled << QSize(47, 15);
        }
        QTest::newRow("caption bar") << SkinImages::captionBar() << QSize(63, 23);
        for (const char *caption : {"添加", "删除", "全部添加", "全部删除"}) {
            const BitmapLooks l = SkinImages::moveButton(caption);
            QTest::newRow((QByteArray(caption) + " up").constData()) << l.up << QSize(75, 23);
            QTest::newRow((QByteArray(caption) + " down").constData()) << l.down << QSize(75, 23);
            QTest::newRow((QByteArray(caption) + " disabled").constData()) << l.disabled << QSize(75, 23);
        }
        for (int d = 0; d <= 9; ++d)
            for (bool selected : {false, true})
                QTest::newRow(qPrintable(QString("digit %1 %2").arg(d).arg(selected)))
                    << SkinImages::digitButton(d, selected).up << QSize(24, 22);
        for (const char *caption : {"选", "全", "清"})
            QTest::newRow(caption) << SkinImages::smallButton(caption).up << QSize(22, 20);
        QTest::newRow("popup close") << SkinImages::popupCloseButton() << QSize(48, 20);
        const ComboParts parts = SkinImages::comboParts();
        QTest::newRow("combo left") << parts.left << QSize(4, 20);
        QTest::newRow("combo middle") << parts.middle << QSize(8, 20);
        QTest::newRow("combo button") << parts.button << QSize(18, 20);
    }

    void skinImagesHaveTheirSizes()
    {
        QFETCH(QPixmap, image);
        QFETCH(QSize, size);
        QCOMPARE(image.deviceIndependentSize().toSize(), size);
        // not empty: a good part of the picture is drawn
        const QImage img = image.toImage();
        int opaque = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                opaque += qAlpha(img.pixel(x, y)) > 0;
        QVERIFY2(opaque >= 20 && opaque * 50 >= img.width() * img.height(), qPrintable(QString::number(opaque)));
    }

    void looksOfOneControlDiffer_data()
    {
        QTest::addColumn<QPixmap>("a");
        QTest::addColumn<QPixmap>("b");
        const ButtonLooks top = SkinImages::topButton(SkinImages::TopButton::Forum);
        QTest::newRow("top normal / hover") << top.normal << top.hover;
        QTest::newRow("top hover / pressed") << top.hover << top.pressed;
        const ButtonLooks off = SkinImages::conditionButton(false), on = SkinImages::conditionButton(true);
        QTest::newRow("condition normal / hover") << off.normal << off.hover;
        QTest::newRow("condition off / on") << off.normal << on.normal;
        QTest::newRow("condition off / on current") << off.pressed << on.pressed;
        QTest::newRow("tab inactive / active") << SkinImages::tab("组选", 88, false) << SkinImages::tab("组选", 88, true);
        const BitmapLooks yes = SkinImages::radio("排除", true), no = SkinImages::radio("排除", false);
        QTest::newRow("radio selected / unselected") << yes.up << no.up;
        QTest::newRow("radio enabled / disabled") << yes.up << yes.disabled;
        QTest::newRow("check ticked / empty") << SkinImages::checkBox(true).up << SkinImages::checkBox(false).up;
        const BitmapLooks move = SkinImages::moveButton("添加");
        QTest::newRow("move up / down") << move.up << move.down;
        QTest::newRow("move up / disabled") << move.up << move.disabled;
        QTest::newRow("digit selected / not") << SkinImages::digitButton(5, true).up
                                              << SkinImages::digitButton(5, false).up;
        QTest::newRow("digit 1 / 7") << SkinImages::digitButton(1, false).up << SkinImages::digitButton(7, false).up;
        QTest::newRow("command captions") << SkinImages::commandButton("保存号码").up
                                          << SkinImages::commandButton("打印号码").up;
    }

    void looksOfOneControlDiffer()
    {
        QFETCH(QPixmap, a);
        QFETCH(QPixmap, b);
        QVERIFY(a.toImage() != b.toImage());
    }

    void dialogUnitsConvert_data()
    {
        QTest::addColumn<QRect>("units");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("condition button") << QRect(7, 110, 50, 14) << QRect(11, 179, 75, 23);
        QTest::newRow("progress window") << QRect(0, 0, 186, 44) << QRect(0, 0, 279, 72);
        QTest::newRow("halves round up") << QRect(1, 1, 3, 3) << QRect(2, 2, 5, 5);
        QTest::newRow("panel template") << QRect(6, 25, 102, 89) << QRect(9, 41, 153, 145);
        QTest::newRow("negative rounds away from zero") << QRect(-1, -1, 2, 2) << QRect(-2, -2, 3, 3);
    }

    void dialogUnitsConvert()
    {
        QFETCH(QRect, units);
        QFETCH(QRect, pixels);
        QCOMPARE(dluToPixels(units), pixels);
    }

    void fontIsSimSunWithACjkFallback()
    {
        const QFont font = skinFont();
        QCOMPARE(font.families(), skinFontFamilies());
        QCOMPARE(font.families().first(), QString("SimSun"));
        QCOMPARE(font.pointSizeF(), 8.7);
        const QStringList installed = QFontDatabase::families();
        bool anyCjk = false;
        for (const QString &family : skinFontFamilies())
            anyCjk = anyCjk || installed.contains(family);
        if (!anyCjk)
            QSKIP("no CJK font installed");
        QVERIFY2(skinFontFamilies().contains(QFontInfo(font).family()), qPrintable(QFontInfo(font).family()));
    }
};

QTEST_MAIN(TestSkin)
#include "tst_skin.moc"
