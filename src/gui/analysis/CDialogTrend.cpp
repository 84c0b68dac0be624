#include "gui/analysis/CDialogTrend.h"

#include "core/Messages.h"
#include "gui/analysis/CsvExport.h"
#include "gui/analysis/TrendChartView.h"
#include "gui/analysis/TrendModel.h"
#include "gui/app/AppServices.h"
#include "gui/ui/ScreenFit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTabBar>
#include <QVBoxLayout>

namespace numsieve::gui {

namespace {

constexpr int kDefaultWindow = 100;

} // namespace

QList<TrendGroup> CDialogTrend::groupsOf(Tab tab)
{
    using G = TrendGroup;
    switch (tab) {
    case Positions: return {G::Hundreds, G::Tens, G::Units};
    case Distribution: return {G::Anywhere};
    case Sums: return {G::Sum};
    case Spans: return {G::Span};
    case Tails: return {G::Tail};
    case Shapes:
    case kTabCount: break;
    }
    return {G::BigSmall, G::OddEven, G::PrimeComposite, G::Kind};
}

CDialogTrend::CDialogTrend(AppServices &services, const LotteryRegistry &lotteries, qsizetype selected,
                           QWidget *parent)
    : QDialog(parent)
    , m_services(services)
    , m_lotteries(lotteries)
{
    setWindowTitle(kTitle);
    setModal(false);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    m_lottery = new QComboBox;
    for (const Lottery &l : m_lotteries.lotteries())
        m_lottery->addItem(l.name);
    m_window = new QComboBox;
    for (int w : kTrendWindows)
        m_window->addItem(w > 0 ? QStringLiteral("%1期").arg(w) : QStringLiteral("全部"), w);
    m_window->setCurrentIndex(int(std::find(kTrendWindows.begin(), kTrendWindows.end(), kDefaultWindow)
                                  - kTrendWindows.begin()));
    m_omissions = new QCheckBox(QStringLiteral("显示遗漏"));
    m_omissions->setChecked(true);
    m_lines = new QCheckBox(QStringLiteral("折线"));
    m_lines->setChecked(true);
    m_exportCsv = new QPushButton(QStringLiteral("导出CSV..."));
    m_exportPicture = new QPushButton(QStringLiteral("导出图片..."));

    auto *controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("彩种")));
    controls->addWidget(m_lottery);
    controls->addSpacing(8);
    controls->addWidget(new QLabel(QStringLiteral("期数")));
    controls->addWidget(m_window);
    controls->addSpacing(8);
    controls->addWidget(m_omissions);
    controls->addWidget(m_lines);
    controls->addStretch(1);
    controls->addWidget(m_exportCsv);
    controls->addWidget(m_exportPicture);

    m_tabs = new QTabBar;
    m_tabs->setExpanding(false);
    for (const QString &name : {QStringLiteral("百十个位"), QStringLiteral("号码分布"), QStringLiteral("和值"),
                                QStringLiteral("跨度"), QStringLiteral("和尾"), QStringLiteral("形态")})
        m_tabs->addTab(name);

    m_model = new TrendModel(this);
    m_model->setWindow(kDefaultWindow);
    m_model->setGroups(groupsOf(Positions));
    m_chart = new TrendChartView(m_model);
    m_note = new QLabel;
    m_note->setWordWrap(true);
    m_noDraws = new QLabel;
    m_noDraws->setWordWrap(true);
    m_noDraws->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_noDraws->setMargin(12);
    m_noDraws->hide();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_tabs);
    layout->addWidget(m_chart, 1);
    layout->addWidget(m_noDraws, 1);
    layout->addWidget(m_note);

    connect(m_lottery, &QComboBox::currentIndexChanged, this, &CDialogTrend::selectLottery);
    connect(m_window, &QComboBox::currentIndexChanged, this, &CDialogTrend::selectWindow);
    connect(m_tabs, &QTabBar::currentChanged, this, &CDialogTrend::selectTab);
    connect(m_omissions, &QCheckBox::toggled, m_chart, &TrendChartView::setShowOmissions);
    connect(m_lines, &QCheckBox::toggled, m_chart, &TrendChartView::setShowLines);
    connect(m_exportCsv, &QPushButton::clicked, this, &CDialogTrend::exportCsv);
    connect(m_exportPicture, &QPushButton::clicked, this, &CDialogTrend::exportPicture);

    const int start = selected >= 0 && selected < m_lotteries.count() ? int(selected) : 0;
    m_lottery->setCurrentIndex(start);
    selectLottery(start);
    // Where the screen allows, no tab opens with columns behind a scroll bar.
    resize(preferredSize());
    fitDialogToScreen(this);
}

QSize CDialogTrend::preferredSize()
{
    int widest = 0;
    for (int tab = 0; tab < kTabCount; ++tab) {
        m_model->setGroups(groupsOf(Tab(tab)));
        widest = std::max(widest, m_chart->sizeHint().width());
    }
    m_model->setGroups(groupsOf(Tab(m_tabs->currentIndex())));
    const QMargins margins = layout()->contentsMargins();
    return {std::max(layout()->sizeHint().width(), widest + margins.left() + margins.right()), 700};
}

const QString CDialogTrend::kNoDrawsHint = QStringLiteral("所选彩票没有开奖号码，无法画走势图。") + msg::kHowToGetDraws;

CDialogTrend::~CDialogTrend() = default;

CDialogTrend *CDialogTrend::showFor(AppServices &services, QWidget *owner, const LotteryRegistry &lotteries,
                                    qsizetype selected)
{
    CDialogTrend *trend = owner ? owner->findChild<CDialogTrend *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (trend) {
        trend->setLotteries(lotteries);
    } else {
        trend = new CDialogTrend(services, lotteries, selected, owner);
        trend->setAttribute(Qt::WA_DeleteOnClose);
    }
    trend->show();
    trend->raise();
    trend->activateWindow();
    return trend;
}

void CDialogTrend::setLotteries(const LotteryRegistry &lotteries)
{
    const int current = m_lottery->currentIndex();
    const QString shown = current >= 0 && current < m_lotteries.count() ? m_lotteries.at(current).id : QString();
    m_lotteries = lotteries;
    int index = 0;
    for (qsizetype i = 0; i < m_lotteries.count(); ++i)
        if (m_lotteries.at(i).id == shown) {
            index = int(i);
            break;
        }
    {
        const QSignalBlocker blocker(m_lottery);
        m_lottery->clear();
        for (const Lottery &l : m_lotteries.lotteries())
            m_lottery->addItem(l.name);
        m_lottery->setCurrentIndex(index);
    }
    selectLottery(index);
}

const Lottery *CDialogTrend::shownLottery() const
{
    const int index = m_lottery->currentIndex();
    return index >= 0 && index < m_lotteries.count() ? &m_lotteries.at(index) : nullptr;
}

void CDialogTrend::selectLottery(int index)
{
    const bool known = index >= 0 && index < m_lotteries.count();
    m_model->setTable(std::make_shared<const TrendTable>(known ? m_lotteries.at(index).draws : QList<Draw>()));
    // Without draws a table of zeros would look like a chart: say where
    // draws come from instead, or why the ones there could not be read.
    const bool empty = m_model->table().rowCount() == 0;
    const Lottery *lottery = shownLottery();
    m_noDraws->setText(lottery && !lottery->readProblem.isEmpty() ? lottery->readProblem : kNoDrawsHint);
    m_noDraws->setVisible(empty);
    m_chart->setVisible(!empty);
    m_exportCsv->setEnabled(!empty);
    m_exportPicture->setEnabled(!empty);
    showNote();
}

void CDialogTrend::selectWindow(int index)
{
    m_model->setWindow(m_window->itemData(index).toInt());
    showNote();
}

void CDialogTrend::selectTab(int index)
{
    m_model->setGroups(groupsOf(Tab(index)));
    showNote();
}

void CDialogTrend::showNote()
{
    m_note->setVisible(m_model->rowCount() > 0);
    int marked = 0;
    for (int c = 0; c < m_model->valueColumnCount(); ++c)
        marked += m_model->stats(c).marked();
    const int columns = m_model->valueColumnCount();
    m_note->setText(QStringLiteral("共%1期，标红%2列。").arg(m_model->rowCount()).arg(marked) + m_model->chanceExplained()
                    + QStringLiteral("这里共%1列，全凭运气也约有二十分之一（约%2列）会被标红；把期数放大到500、1000"
                                     "或全部后仍然标红的，比时有时无的更值得留意。")
                          .arg(columns)
                          .arg(QString::number(columns / 20.0, 'f', 1)));
}

QString CDialogTrend::suggestedName() const
{
    const Lottery *lottery = shownLottery();
    const TrendTable &table = m_model->table();
    return suggestedFileName({lottery ? lottery->name : QString(), QStringLiteral("走势图"),
                              m_tabs->tabText(m_tabs->currentIndex()),
                              table.rowCount() > 0 ? table.draw(table.rowCount() - 1).issue : QString()});
}

bool CDialogTrend::exportCsv()
{
    return exportCsvLines(m_services, this, trendCsvLines(m_model->table(), m_model->window(), m_model->groups()),
                          suggestedName());
}

QString CDialogTrend::pictureTitle(const QDate &date) const
{
    const Lottery *lottery = shownLottery();
    const TrendTable &table = m_model->table();
    return QStringLiteral("%1　%2走势图　最近%3期　最新一期 %4　%5制图")
        .arg(lottery ? lottery->name : QString(), m_tabs->tabText(m_tabs->currentIndex()))
        .arg(m_model->rowCount())
        .arg(table.rowCount() > 0 ? table.draw(table.rowCount() - 1).issue : QString(),
             date.toString(QStringLiteral("yyyy-MM-dd")));
}

namespace {

constexpr int kTitlePad = 8;

QFont titleFont(QFont font)
{
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.2);
    return font;
}

int titleHeight(const QFont &chartFont)
{
    return QFontMetrics(titleFont(chartFont)).height() + 2 * kTitlePad;
}

} // namespace

QImage CDialogTrend::picture(const QDate &date) const
{
    const QImage chart = m_chart->wholeChart();
    const QFont font = titleFont(m_chart->font());
    const QFontMetrics metrics(font);
    const QString title = pictureTitle(date);
    const int top = titleHeight(m_chart->font());
    QImage image(std::max(chart.width(), metrics.horizontalAdvance(title) + 2 * kTitlePad), chart.height() + top,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(kTitlePad, 0, image.width() - 2 * kTitlePad, top), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.drawImage(0, top, chart);
    return image;
}

bool CDialogTrend::exportPicture()
{
    // Every row of a long window in one picture would be taller than any
    // viewer shows: say how many fit before asking for a file.
    const int rowHeight = m_chart->rowHeight();
    const int frame = titleHeight(m_chart->font()) + m_chart->wholeSize().height() - m_model->rowCount() * rowHeight;
    const int rowsThatFit = (kPictureMaxHeight - frame) / rowHeight;
    if (m_model->rowCount() > rowsThatFit) {
        m_services.warn(this,
                        QStringLiteral("走势图太长：一张图片最多画%1期。请把期数选少一些，再导出图片。").arg(rowsThatFit));
        return false;
    }
    return exportImage(m_services, this, picture(QDate::currentDate()), suggestedName());
}

} // namespace numsieve::gui
