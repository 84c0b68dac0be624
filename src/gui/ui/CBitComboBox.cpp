#include "gui/ui/CBitComboBox.h"

#include "gui/ui/SkinFont.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace numsieve::gui {

namespace {

constexpr int kTextMargin = 5;

// Paints the items of the open list on the combo box's own colours.
class ItemDelegate : public QStyledItemDelegate
{
public:
    explicit ItemDelegate(CBitComboBox *combo)
        : QStyledItemDelegate(combo)
        , m_combo(combo)
    {
    }

    void paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        // The selection follows the mouse while it moves over the list; the
        // row under a resting mouse is not marked as well, or a wheel turn
        // would leave two rows lit.
        const bool selected = option.state & QStyle::State_Selected;
        p->fillRect(option.rect, selected ? m_combo->selectedBackground() : m_combo->normalBackground());
        p->setFont(option.font);
        p->setPen(selected ? m_combo->selectedText() : m_combo->normalText());
        p->drawText(option.rect.adjusted(kTextMargin, 0, -2, 0),
                    Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                    index.data(Qt::DisplayRole).toString());
    }

    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(qMax(s.height(), 18));
        return s;
    }

private:
    CBitComboBox *m_combo;
};

} // namespace

CBitComboBox::CBitComboBox(QWidget *parent)
    : DropDownBox(parent)
{
    setFont(skinFont());
    setItemDelegate(new ItemDelegate(this));
    view()->setStyleSheet(QStringLiteral("QAbstractItemView { background: #738a9a; "
                                         "border: 1px solid #3c6eac; outline: 0; }"));
    setParts(SkinImages::comboParts());
}

void CBitComboBox::setParts(const ComboParts &parts)
{
    m_parts = parts;
    updateGeometry();
    update();
}

void CBitComboBox::setItemColours(const QColor &selectedBackground, const QColor &selectedText,
                                  const QColor &normalBackground, const QColor &normalText)
{
    m_selectedBackground = selectedBackground;
    m_selectedText = selectedText;
    m_normalBackground = normalBackground;
    m_normalText = normalText;
    view()->viewport()->update();
    update();
}

QSize CBitComboBox::sizeHint() const
{
    QSize s = QComboBox::sizeHint();
    s.setHeight(m_parts.middle.isNull() ? s.height()
                                        : int(m_parts.middle.deviceIndependentSize().height()));
    return s;
}

QSize CBitComboBox::minimumSizeHint() const
{
    return sizeHint();
}

void CBitComboBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const int h = height();
    const int leftW = int(m_parts.left.deviceIndependentSize().width());
    const int buttonW = int(m_parts.button.deviceIndependentSize().width());
    const QRect middle(leftW, 0, qMax(0, width() - leftW - buttonW), h);
    if (!m_parts.left.isNull())
        p.drawPixmap(QRect(0, 0, leftW, h), m_parts.left);
    if (!m_parts.middle.isNull())
        p.drawPixmap(middle, m_parts.middle);
    if (!m_parts.button.isNull())
        p.drawPixmap(QRect(width() - buttonW, 0, buttonW, h), m_parts.button);

    p.setFont(font());
    p.setPen(isEnabled() ? m_normalText : QColor(150, 158, 168));
    const QRect textRect(kTextMargin, 0, qMax(0, width() - buttonW - kTextMargin - 2), h);
    p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
               fontMetrics().elidedText(currentText(), Qt::ElideRight, textRect.width()));
}

} // namespace numsieve::gui
