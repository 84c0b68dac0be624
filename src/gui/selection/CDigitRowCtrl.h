#pragma once

#include "core/selection/DigitRow.h"

#include <QPointer>
#include <QWidget>

#include <array>

class QLabel;
class QMenu;

namespace numsieve::gui {

class CBitmapButtonEx;

// One line of a selection panel: a caption, the ten digit toggles "0"…"9"
// and, for most rows, the buttons 选 (the 选号 menu), 全 and 清. The control
// only shows a DigitRow and reports clicks; bind() wires the clicks to a row
// that accepts every change, while a row with rules of its own (the banker
// row) handles the signals itself.
class CDigitRowCtrl : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kHeight = 22;
    static constexpr int kWidth = 394;

    CDigitRowCtrl(const QString &caption, bool withTools, QWidget *parent = nullptr);

    // Every click changes row directly and shows the result.
    void bind(DigitRow &row);
    void showRow(const DigitRow &row);

    CBitmapButtonEx *digitButton(int digit) const { return m_digits.at(std::size_t(digit)); }
    // Null on a row without tools.
    CBitmapButtonEx *menuButton() const { return m_menuButton; }
    CBitmapButtonEx *allButton() const { return m_allButton; }
    CBitmapButtonEx *clearButton() const { return m_clearButton; }
    QLabel *caption() const { return m_caption; }

    // The 选号 menu of this row, built on first use; null on a row without
    // tools. The 选 button pops it up without blocking.
    QMenu *selectMenu();

Q_SIGNALS:
    void digitClicked(int digit);
    void allClicked();
    void clearClicked();
    void menuItemChosen(int item);

private:
    void popupMenu();

    QLabel *m_caption = nullptr;
    std::array<CBitmapButtonEx *, 10> m_digits{};
    std::array<bool, 10> m_shown{};
    bool m_looksSet = false;
    CBitmapButtonEx *m_menuButton = nullptr;
    CBitmapButtonEx *m_allButton = nullptr;
    CBitmapButtonEx *m_clearButton = nullptr;
    QPointer<QMenu> m_menu;
};

} // namespace numsieve::gui
