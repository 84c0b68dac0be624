// Renders the whole skin into one picture: a mock of the main window built
// from the real controls, and beside it every image in each of its looks.
// With NUMSIEVE_SKIN_PREVIEW=path the picture is also saved there (the
// committed docs/skin-preview.png is made this way).

#include "gui/app/CDialogProgress.h"
#include "gui/ui/CBitComboBox.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CBitmapDialog.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/CComboBoxFlat.h"
#include "gui/ui/CEditFlat.h"
#include "gui/ui/CLineEditFlat.h"
#include "gui/ui/CListBoxFlat.h"
#include "gui/ui/CWEEditCtrl.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

using namespace numsieve::gui;

namespace {

QLabel *label(QWidget *parent, const QString &text, QPoint at)
{
    auto *l = new QLabel(text, parent);
    l->setFont(skinFont());
    l->setStyleSheet("color: rgb(0, 54, 101);");
    l->move(at);
    l->adjustSize();
    return l;
}

CBitmapButtonEx *bitmapButton(QWidget *parent, const BitmapLooks &looks, QPoint at)
{
    auto *b = new CBitmapButtonEx(parent);
    b->setImages(looks);
    b->move(at);
    return b;
}

void conditionPanel(CBitmapDialog *panel)
{
    panel->setBackground(SkinImages::panelBackground({408, 378}));
    for (const auto &[y, caption] : {std::pair{7, QString("和值")}, std::pair{120, QString("和尾数")}}) {
        auto *bar = new CButtonEx(caption, panel);
        const QPixmap img = SkinImages::captionBar();
        bar->setImages(img, img, img);
        bar->setGeometry(dluToPixels(QRect(6, y, 42, 14)));
    }
    bitmapButton(panel, SkinImages::radio("包含", true), {78, 15});
    bitmapButton(panel, SkinImages::radio("排除", false), {124, 15});
    bitmapButton(panel, SkinImages::checkBox(true), {347, 15});
    bitmapButton(panel, SkinImages::radio("包含", false), {78, 200})->setEnabled(false);
    bitmapButton(panel, SkinImages::radio("排除", true), {124, 200})->setEnabled(false);
    const QStringList moves{"添加", "删除", "全部添加", "全部删除"};
    for (int list = 0; list < 2; ++list) {
        auto *available = new CListBoxFlat(panel);
        auto *chosen = new CListBoxFlat(panel);
        available->setGeometry(dluToPixels(QRect(6, list ? 139 : 25, 102, 89)));
        chosen->setGeometry(dluToPixels(QRect(164, list ? 139 : 25, 102, 89)));
        for (int v = 0; v < 28; ++v)
            (v % 3 == 1 ? chosen : available)->addItem(list ? QString::number(v % 10) : QString::number(v));
        available->item(2)->setSelected(true);
        for (int i = 0; i < 4; ++i) {
            auto *b = bitmapButton(panel, SkinImages::moveButton(moves[i]),
                                   dluToPixels(QPoint(112, (list ? 152 : 38) + 16 * i)));
            if (list && i == 3)
                b->setEnabled(false);
        }
        if (list)
            available->setEnabled(false);
    }
}

void leftPanel(CBitmapDialog *panel)
{
    panel->setBackground(SkinImages::panelBackground({408, 259}));
    label(panel, "彩票", {10, 14});
    auto *lottery = new CBitComboBox(panel);
    lottery->addItems({" 福彩3D", " 排列三", " 时时乐", " 时时彩"});
    lottery->setGeometry(40, 11, 110, 20);
    label(panel, "奖期", {160, 14});
    auto *issue = new CBitComboBox(panel);
    issue->addItems({"2024118", "2024117"});
    issue->setGeometry(190, 11, 90, 20);
    label(panel, "容错", {290, 14});
    auto *tolerance = new CBitComboBox(panel);
    tolerance->addItems({" 不使用", " 1"});
    tolerance->setGeometry(320, 11, 80, 20);

    const QStringList tabs{"直选", "组选", "胆拖", "大底"};
    for (int i = 0; i < 4; ++i) {
        auto *t = new CBitmapButtonEx(panel);
        const int width = i == 3 ? 136 : 88;
        const QPixmap img = SkinImages::tab(tabs[i], width, i == 0);
        t->setImages(img, img);
        t->move(3 + 88 * i, 45);
    }
    auto *sub = new CBitmapDialog(panel);
    sub->setBackground(SkinImages::tabPageBackground({404, 106}));
    sub->setGeometry(2, 75, 404, 106);
    const QStringList positions{"百位", "十位", "个位"};
    for (int row = 0; row < 3; ++row) {
        label(sub, positions[row], {10, 12 + 30 * row});
        for (int d = 0; d < 10; ++d)
            bitmapButton(sub, SkinImages::digitButton(d, (d * 7 + row * 3) % 4 == 0), {44 + 27 * d, 8 + 30 * row});
        const QStringList small{"选", "全", "清"};
        for (int s = 0; s < 3; ++s)
            bitmapButton(sub, SkinImages::smallButton(small[s]), {320 + 25 * s, 9 + 30 * row});
    }

    const QStringList names{"号码", "和值", "平均值", "跨度", "AC值", "大小", "奇偶", "质和",
                            "除3余", "新旧跳", "旧斜孤", "重复号", "连号", "间隔号", "高级"};
    for (int n = 0; n < 15; ++n) {
        const bool on = n == 1 || n == 6 || n == 13;
        auto *b = new CButtonEx(names[n], panel);
        b->setImages(SkinImages::conditionButton(on));
        b->setGeometry(dluToPixels(QRect(7 + 52 * (n % 5), 110 + 16 * (n / 5), 50, 14)));
        b->setActive(n == 0);
    }
}

// What the screen shows of a shaped window: its picture inside its mask.
QPixmap shaped(QWidget &w)
{
    QPixmap shot = w.grab();
    if (w.mask().isEmpty())
        return shot;
    QPixmap out(shot.size());
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.setClipRegion(w.mask());
    p.drawPixmap(0, 0, shot);
    return out;
}

QPixmap mockWindow()
{
    CBitmapDialog main;
    main.setFixedSize(SkinImages::mainSize);
    main.setBackground(SkinImages::mainBackground());
    main.setShaped(true);

    const SkinImages::TopButton tops[] = {SkinImages::TopButton::Lotteries, SkinImages::TopButton::Draws,
                                          SkinImages::TopButton::Analysis, SkinImages::TopButton::Forum,
                                          SkinImages::TopButton::More};
    for (int i = 0; i < 5; ++i) {
        auto *b = new CButtonEx(&main);
        b->setImages(SkinImages::topButton(tops[i]));
        b->setGeometry(217 + 80 * i, 6, 80, 40);
        b->setActive(i == 2);
    }
    auto *minimise = new CButtonEx(&main);
    minimise->setImages(SkinImages::minimiseButton());
    minimise->setGeometry(962, 4, 26, 20);
    auto *close = new CButtonEx(&main);
    close->setImages(SkinImages::closeButton());
    close->setGeometry(990, 4, 26, 20);

    auto *left = new CBitmapDialog(&main);
    left->setGeometry(2, 60, 408, 259);
    leftPanel(left);
    auto *condition = new CBitmapDialog(&main);
    condition->setGeometry(2, 319, 408, 378);
    conditionPanel(condition);

    auto *map = new CBitmapDialog(&main);
    map->setGeometry(410, 60, 609, 637);
    map->setBackground(SkinImages::panelBackground({609, 637}));
    label(map, "直选分布图", {12, 10});
    auto *edit = new CEditFlat(map);
    edit->setGeometry(12, 34, 280, 90);
    edit->setPlainText("号码[1]+号码[2]>10\n和值[0]!=和值[1]");
    auto *digits = new CLineEditFlat(3, map);
    digits->setGeometry(12, 134, 35, 21);
    digits->setText("12");
    auto *we = new CWEEditCtrl(map);
    we->setGeometry(56, 134, 120, 21);
    we->setText("2024118");
    auto *flat = new CComboBoxFlat(map);
    flat->addItems({"前1期", "前2期"});
    flat->setGeometry(186, 134, 80, 21);

    const QStringList commands{"保存条件", "导入条件", "选号 >>>", "过滤 >>>",
                               "打印号码", "号码交集", "保存号码", "购买彩票"};
    for (int i = 0; i < 8; ++i)
        bitmapButton(&main, SkinImages::commandButton(commands[i]), {14 + 108 * i + (i >= 2 ? 40 : 0), 703});

    main.show();
    QCoreApplication::processEvents(); // let the edit and lists lay out their scroll bars
    return shaped(main);
}

QPixmap sheet()
{
    const QPixmap window = mockWindow();
    const int column = window.width() + 20;
    QPixmap out(column + 320, window.height() + 140);
    out.fill(QColor(96, 104, 116));
    QPainter p(&out);
    // the desktop shows through the cut corners
    p.drawPixmap(10, 10, window);

    int y = 10;
    auto row = [&](const QList<QPixmap> &images, const QColor &behind = Qt::transparent) {
        int x = column;
        int h = 0;
        for (const QPixmap &img : images) {
            const QSize s = img.deviceIndependentSize().toSize();
            if (behind.alpha())
                p.fillRect(QRect(QPoint(x - 2, y - 2), s + QSize(4, 4)), behind);
            p.drawPixmap(x, y, img);
            x += s.width() + 6;
            h = qMax(h, s.height());
        }
        y += h + 8;
    };
    const QColor strip(30, 92, 164);
    for (auto t : {SkinImages::TopButton::Lotteries, SkinImages::TopButton::More}) {
        const ButtonLooks l = SkinImages::topButton(t);
        row({l.normal, l.hover, l.pressed}, strip);
    }
    const ButtonLooks mi = SkinImages::minimiseButton(), cl = SkinImages::closeButton();
    row({mi.normal, mi.hover, mi.pressed, cl.normal, cl.hover, cl.pressed}, strip);
    const BitmapLooks cmd = SkinImages::commandButton("过滤 >>>");
    row({cmd.up, cmd.down});
    for (bool on : {false, true}) {
        const ButtonLooks c = SkinImages::conditionButton(on);
        row({c.normal, c.hover, c.pressed});
    }
    row({SkinImages::tab("直选", 88, true), SkinImages::tab("组选", 88, false)});
    row({SkinImages::tab("大底", 136, true)});
    const BitmapLooks r1 = SkinImages::radio("包含", true), r2 = SkinImages::radio("排除", false);
    const BitmapLooks c1 = SkinImages::checkBox(true), c2 = SkinImages::checkBox(false);
    row({r1.up, r2.up, r1.disabled, r2.disabled});
    row({c1.up, c2.up, c1.disabled, SkinImages::captionBar()});
    const BitmapLooks mv = SkinImages::moveButton("全部添加");
    row({mv.up, mv.down, mv.disabled});
    const BitmapLooks d1 = SkinImages::digitButton(7, true), d2 = SkinImages::digitButton(3, false);
    const BitmapLooks s1 = SkinImages::smallButton("清");
    row({d1.up, d1.down, d2.up, d2.down, s1.up, s1.down, SkinImages::popupCloseButton()});
    const ComboParts parts = SkinImages::comboParts();
    row({parts.left, parts.middle, parts.button});

    CBitmapDialog popup;
    popup.setFixedSize(SkinImages::popupSize);
    popup.setBackground(SkinImages::popupBackground());
    auto *title = new QLabel("号码信息(按Esc键可关闭)", &popup);
    title->setFont(skinFont());
    title->setStyleSheet("color: rgb(0, 54, 101);");
    title->setGeometry(14, 1, 240, 24);
    auto *closeButton = new CBitmapButtonEx(&popup);
    closeButton->setImages(SkinImages::popupCloseButton(), SkinImages::popupCloseButton());
    closeButton->move(212, 254);
    popup.show();
    const QPixmap popupShot = shaped(popup);
    const int popupY = y;
    p.drawPixmap(column, popupY, popupShot);

    CDialogProgress progress;
    progress.setText("请稍候，系统过滤选号信息...");
    progress.show();
    p.drawPixmap(column, popupY + popupShot.height() + 10, shaped(progress));
    return out;
}

} // namespace

class TestSkinPreview : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rendersEveryLook()
    {
        const QPixmap picture = sheet();
        QCOMPARE(picture.size(), QSize(1021 + 20 + 320, 738 + 140));
        QTemporaryDir dir;
        const QString path = qEnvironmentVariableIsSet("NUMSIEVE_SKIN_PREVIEW")
                                 ? qEnvironmentVariable("NUMSIEVE_SKIN_PREVIEW")
                                 : dir.filePath("skin-preview.png");
        QVERIFY(picture.save(path, "PNG"));
        QVERIFY(QFileInfo(path).size() > 0);
    }
};

QTEST_MAIN(TestSkinPreview)
#include "tst_skin_preview.moc"
