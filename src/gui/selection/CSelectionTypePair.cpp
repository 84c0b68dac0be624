#include "gui/selection/CSelectionTypePair.h"

#include "gui/selection/CSelectionPanel.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>

namespace numsieve::gui {

namespace {

const QString kStraight = QStringLiteral("直选");
const QString kGroup = QStringLiteral("组选");
constexpr int kRadioLeft = 34;
constexpr int kRadioGap = 6;

} // namespace

CSelectionTypePair::CSelectionTypePair(QWidget *parent)
    : QWidget(parent)
{
    setFont(skinFont());
    const QSize radio = SkinImages::radioSize;
    resize(kRadioLeft + 2 * radio.width() + kRadioGap, radio.height());
    m_caption = makeSkinLabel(this, QStringLiteral("类型"), QPoint(0, 0));
    m_caption->setGeometry(0, 0, kRadioLeft - 2, radio.height());
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_straight = new CBitmapButtonEx(this);
    m_straight->setText(kStraight);
    m_straight->setAccessibleName(kStraight);
    m_straight->move(kRadioLeft, 0);
    m_group = new CBitmapButtonEx(this);
    m_group->setText(kGroup);
    m_group->setAccessibleName(kGroup);
    m_group->move(kRadioLeft + radio.width() + kRadioGap, 0);
    connect(m_straight, &QAbstractButton::clicked, this, [this] { Q_EMIT typeClicked(SelectionType::Straight); });
    connect(m_group, &QAbstractButton::clicked, this, [this] { Q_EMIT typeClicked(SelectionType::Group); });
    showType(SelectionType::Straight);
}

void CSelectionTypePair::showType(SelectionType type)
{
    m_type = type;
    m_straight->setImages(SkinImages::radio(kStraight, type == SelectionType::Straight));
    m_group->setImages(SkinImages::radio(kGroup, type == SelectionType::Group));
}

} // namespace numsieve::gui
