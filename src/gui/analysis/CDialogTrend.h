#pragma once

#include "core/analysis/TrendTable.h"
#include "core/history/LotteryRegistry.h"

#include <QDialog>

#include <memory>

class QCheckBox;
class QComboBox;
class QDate;
class QImage;
class QLabel;
class QPushButton;
class QTabBar;

namespace numsieve::gui {

class AppServices;
class TrendChartView;
class TrendModel;

// 走势图: the draw history of a lottery as the chart players read, with the
// chance of every count beside it. It works on a copy of the lotteries and
// does not block the main window.
class CDialogTrend : public QDialog
{
    Q_OBJECT

public:
    static inline const QString kTitle = QStringLiteral("走势图");
    enum Tab { Positions, Distribution, Sums, Spans, Tails, Shapes, kTabCount };

    CDialogTrend(AppServices &services, const LotteryRegistry &lotteries, qsizetype selected, QWidget *parent = nullptr);
    ~CDialogTrend() override;

    // Raises the chart already open over `owner` with the lotteries as they
    // are now, or opens one on the owner's selected lottery. Returns the
    // window shown.
    static CDialogTrend *showFor(AppServices &services, QWidget *owner, const LotteryRegistry &lotteries,
                                 qsizetype selected);

    static QList<TrendGroup> groupsOf(Tab tab);

    // The lotteries as they are now (after draws were added or downloaded);
    // the chart stays on the lottery it shows while that still exists.
    void setLotteries(const LotteryRegistry &lotteries);

    QComboBox *lotteryBox() const { return m_lottery; }
    QComboBox *windowBox() const { return m_window; }
    QTabBar *tabBar() const { return m_tabs; }
    QCheckBox *omissionSwitch() const { return m_omissions; }
    QCheckBox *lineSwitch() const { return m_lines; }
    TrendModel *model() const { return m_model; }
    TrendChartView *chart() const { return m_chart; }
    QLabel *noteLabel() const { return m_note; }
    // In the chart's place while the lottery has no draws to chart.
    QLabel *noDrawsLabel() const { return m_noDraws; }
    static const QString kNoDrawsHint;

    // The size it opens at before the screen has its say: wide enough for
    // the columns of the widest tab (each is laid out once to measure it).
    QSize preferredSize();

    // 导出CSV... and 导出图片...; true when a file was written.
    bool exportCsv();
    bool exportPicture();
    // What 导出图片 saves: a title line over the whole chart of the tab and
    // the 期数 chosen, every column and every row.
    QString pictureTitle(const QDate &date) const;
    QImage picture(const QDate &date) const;
    // The tallest picture made: beyond it, viewers and printers give up.
    static constexpr int kPictureMaxHeight = 32000;

private:
    void selectLottery(int index);
    void selectWindow(int index);
    void selectTab(int index);
    void showNote();
    // The lottery shown, nullptr when there is none.
    const Lottery *shownLottery() const;
    QString suggestedName() const;

    AppServices &m_services;
    LotteryRegistry m_lotteries;
    QComboBox *m_lottery = nullptr;
    QComboBox *m_window = nullptr;
    QCheckBox *m_omissions = nullptr;
    QCheckBox *m_lines = nullptr;
    QPushButton *m_exportCsv = nullptr;
    QPushButton *m_exportPicture = nullptr;
    QTabBar *m_tabs = nullptr;
    TrendModel *m_model = nullptr;
    TrendChartView *m_chart = nullptr;
    QLabel *m_note = nullptr;
    QLabel *m_noDraws = nullptr;
};

} // namespace numsieve::gui
