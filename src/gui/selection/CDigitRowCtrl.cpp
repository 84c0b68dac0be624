#include "gui/selection/CDigitRowCtrl.h"

#include "gui/selection/CSelectionPanel.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/SkinFont.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>
#include <QMenu>

namespace numsieve::gui {

namespace {

constexpr int kDigitLeft = 34;
constexpr int kDigitStep = 27;
constexpr int kToolLeft = 310;
constexpr int kToolStep = 28;

} // namespace

CDigitRowCtrl::CDigitRowCtrl(const QString &caption, bool withTools, QWidget *parent)
    : QWidget(parent)
{
    setFont(skinFont());
    resize(kWidth, kHeight);
    m_caption = makeSkinLabel(this, caption, QPoint(0, 0));
    m_caption->setGeometry(0, 0, kDigitLeft - 2, kHeight);
    m_caption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    for (int d = 0; d < 10; ++d) {
        auto *b = new CBitmapButtonEx(this);
        b->setText(QString::number(d));
        b->setAccessibleName(QString::number(d));
        b->move(kDigitLeft + kDigitStep * d, 0);
        connect(b, &QAbstractButton::clicked, this, [this, d] { Q_EMIT digitClicked(d); });
        m_digits[std::size_t(d)] = b;
    }
    showRow(DigitRow{});

    if (!withTools)
        return;
    const int toolTop = (kHeight - SkinImages::smallButtonSize.height()) / 2;
    auto tool = [&](const QString &text, int index) {
        auto *b = new CBitmapButtonEx(this);
        b->setImages(SkinImages::smallButton(text));
        b->setText(text);
        b->setAccessibleName(text);
        b->move(kToolLeft + kToolStep * index, toolTop);
        return b;
    };
    m_menuButton = tool(QStringLiteral("选"), 0);
    m_allButton = tool(QStringLiteral("全"), 1);
    m_clearButton = tool(QStringLiteral("清"), 2);
    connect(m_menuButton, &QAbstractButton::clicked, this, &CDigitRowCtrl::popupMenu);
    connect(m_allButton, &QAbstractButton::clicked, this, &CDigitRowCtrl::allClicked);
    connect(m_clearButton, &QAbstractButton::clicked, this, &CDigitRowCtrl::clearClicked);
}

void CDigitRowCtrl::bind(DigitRow &row)
{
    connect(this, &CDigitRowCtrl::digitClicked, this, [this, &row](int d) {
        row.toggle(d);
        showRow(row);
    });
    connect(this, &CDigitRowCtrl::allClicked, this, [this, &row] {
        row.selectAll();
        showRow(row);
    });
    connect(this, &CDigitRowCtrl::clearClicked, this, [this, &row] {
        row.clear();
        showRow(row);
    });
    connect(this, &CDigitRowCtrl::menuItemChosen, this, [this, &row](int item) {
        row.applyMenuItem(item);
        showRow(row);
    });
    showRow(row);
}

void CDigitRowCtrl::showRow(const DigitRow &row)
{
    for (int d = 0; d < 10; ++d) {
        const bool on = row.isSelected(d);
        // Drawing the looks is not free; only a changed toggle gets new ones.
        if (m_looksSet && m_shown[std::size_t(d)] == on)
            continue;
        CBitmapButtonEx *b = m_digits[std::size_t(d)];
        b->setImages(SkinImages::digitButton(d, on));
        b->setProperty("selected", on);
        m_shown[std::size_t(d)] = on;
    }
    m_looksSet = true;
}

QMenu *CDigitRowCtrl::selectMenu()
{
    if (!m_menuButton)
        return nullptr;
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setFont(skinFont());
        const QStringList &items = DigitRow::menuItems();
        for (int i = 0; i < items.size(); ++i) {
            QAction *a = m_menu->addAction(items.at(i));
            connect(a, &QAction::triggered, this, [this, i] { Q_EMIT menuItemChosen(i); });
        }
    }
    return m_menu;
}

void CDigitRowCtrl::popupMenu()
{
    if (QMenu *menu = selectMenu())
        menu->popup(m_menuButton->mapToGlobal(QPoint(0, m_menuButton->height())));
}

} // namespace numsieve::gui
