#include "gui/app/CDialogAbout.h"

#include "gui/app/AppIcon.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/CBitmapDialog.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QDir>
#include <QLabel>

namespace numsieve::gui {

namespace {

constexpr QSize kSize{340, 170};
constexpr int kIconSize = 64;

} // namespace

CDialogAbout::CDialogAbout(const QString &productText, const QString &dataFolder, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("CDialogAbout"));
    setWindowTitle(QStringLiteral("关于 三位筛号器"));
    setWindowIcon(appIcon());
    setFont(skinFont());
    setFixedSize(kSize);

    auto *page = new CBitmapDialog(this);
    const QPixmap background = SkinImages::progressBackground(kSize);
    page->setBackground(background);
    page->setDraggable(true);
    page->setGeometry(QRect(QPoint(0, 0), kSize));
    setMask(CBitmapDialog::shapeRegion(background.toImage(), kSize, QColor(SkinColour::shapeColour)));

    auto *caption = new QLabel(windowTitle(), page);
    caption->setGeometry(10, 0, kSize.width() - 20, 24);
    caption->setStyleSheet(QStringLiteral("color: white;"));

    auto *icon = new QLabel(page);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(appIcon().pixmap(kIconSize, kIconSize));
    icon->setGeometry(20, 44, kIconSize, kIconSize);

    auto *product = new QLabel(productText, page);
    product->setObjectName(QStringLiteral("product"));
    product->setGeometry(100, 42, kSize.width() - 110, 20);
    auto *note = new QLabel(QStringLiteral("本软件仅供分析参考，祝您好运。"), page);
    note->setGeometry(100, 66, kSize.width() - 110, 20);
    // Where the draws live: a player who installed the program looks here.
    const QString shown = QDir::toNativeSeparators(dataFolder);
    auto *folder = new QLabel(page);
    folder->setObjectName(QStringLiteral("dataFolder"));
    folder->setGeometry(100, 90, kSize.width() - 110, 20);
    folder->setText(folder->fontMetrics().elidedText(QStringLiteral("数据文件夹：") + shown, Qt::ElideMiddle,
                                                     folder->width()));
    folder->setToolTip(shown);
    for (QLabel *label : {product, note, folder})
        label->setStyleSheet(QStringLiteral("color: rgb(0, 54, 101);"));

    auto *ok = new CBitmapButtonEx(page);
    const BitmapLooks looks = SkinImages::commandButton(QStringLiteral("确定"));
    ok->setImages(looks.up, looks.down, looks.disabled);
    ok->setText(QStringLiteral("确定"));
    ok->setAccessibleName(QStringLiteral("确定"));
    ok->move((kSize.width() - SkinImages::commandButtonSize.width()) / 2, kSize.height() - 46);
    connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
}

} // namespace numsieve::gui
