#pragma once

#include "core/history/PrizeFile.h"

#include <QDialog>

#include <array>
#include <optional>

class QLineEdit;

namespace numsieve::gui {

class AppServices;

// 奖金设置: the price of a bet and the three prizes of one lottery, in yuan.
// 确定 takes them once they are digits in their ranges (else it says why and
// stays open); 不设置 leaves the lottery without prizes.
class CDialogPrizes : public QDialog
{
    Q_OBJECT

public:
    enum Field { Price, Straight, GroupThree, GroupSix };

    CDialogPrizes(AppServices &services, const QString &lotteryName, const std::optional<Prizes> &prizes,
                  QWidget *parent = nullptr);

    // What the player chose, once accepted: prizes, or none for 不设置.
    std::optional<Prizes> prizes() const { return m_prizes; }
    QLineEdit *edit(Field field) const { return m_edits.at(size_t(field)); }
    // 确定, 不设置, as the buttons do.
    void takeTyped();
    void clearPrizes();

private:
    AppServices &m_services;
    std::array<QLineEdit *, 4> m_edits{};
    std::optional<Prizes> m_prizes;
};

} // namespace numsieve::gui
