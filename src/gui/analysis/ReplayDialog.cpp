#include "gui/analysis/ReplayDialog.h"

#include "core/Messages.h"
#include "gui/analysis/BacktestRunner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>

namespace numsieve::gui {

namespace {

constexpr int kDefaultCount = 100;

} // namespace

ReplayDialog::ReplayDialog(const AnalysedLottery &lottery, const QString &noDraws, QWidget *parent)
    : QDialog(parent)
    , m_lottery(lottery)
    , m_runner(new BacktestRunner(this))
{
    const int draws = int(m_lottery.draws.size());
    m_count = new QSpinBox;
    m_count->setRange(1, std::max(1, draws));
    m_count->setValue(std::min(kDefaultCount, draws));
    m_count->setSuffix(QStringLiteral(" 期"));
    m_start = new QPushButton(QStringLiteral("开始"));
    m_start->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("取消"));
    m_cancelButton->setEnabled(false);
    m_progress = new QProgressBar;
    m_progress->setRange(0, m_count->value());
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%v/%m 期"));

    m_controls = new QHBoxLayout;
    m_controls->addWidget(new QLabel(QStringLiteral("回测期数")));
    m_controls->addWidget(m_count);
    m_controls->addWidget(m_start);
    m_controls->addWidget(m_progress, 1);
    m_controls->addWidget(m_cancelButton);

    m_range = new QLabel(rangeText(m_lottery, m_count->value()));
    m_range->setWordWrap(true);
    m_status = new QLabel;
    m_status->setWordWrap(true);

    connect(m_count, &QSpinBox::valueChanged, this, [this](int count) {
        m_range->setText(rangeText(m_lottery, count));
        if (!isRunning()) {
            m_progress->setRange(0, count);
            m_progress->setValue(0);
        }
    });
    connect(m_cancelButton, &QPushButton::clicked, this, &ReplayDialog::cancel);
    connect(m_runner, &BacktestRunner::progressed, this, &ReplayDialog::showProgress);
    connect(m_runner, &BacktestRunner::finished, this, &ReplayDialog::finish);

    if (draws == 0) {
        m_count->setEnabled(false);
        m_start->setEnabled(false);
        m_status->setText(noDraws + msg::kHowToGetDraws);
    }
}

ReplayDialog::~ReplayDialog()
{
    // The run stops before the labels it reports to are gone.
    delete m_runner;
}

bool ReplayDialog::isRunning() const
{
    return m_runner->isRunning();
}

void ReplayDialog::setRunning(bool running)
{
    m_count->setEnabled(!running && !m_lottery.draws.isEmpty());
    m_start->setEnabled(!running && !m_lottery.draws.isEmpty());
    m_cancelButton->setEnabled(running);
}

QScrollArea *ReplayDialog::scrollingBody(QWidget *body)
{
    auto *scroll = new QScrollArea;
    scroll->setWidget(body);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumHeight(120);
    return scroll;
}

void ReplayDialog::startRun(const QList<Workspace> &schemes)
{
    const int count = m_count->value();
    const int total = count * int(schemes.size());
    m_progress->setRange(0, total);
    m_progress->setValue(0);
    m_runner->start(schemes, m_lottery.draws, count);
    setRunning(true);
    m_status->setText(progressStatus(0, total, 0));
}

void ReplayDialog::cancel()
{
    if (!isRunning())
        return;
    m_runner->cancel();
    m_cancelButton->setEnabled(false);
    m_status->setText(QStringLiteral("正在取消..."));
}

void ReplayDialog::reject()
{
    if (isRunning()) {
        m_closeWhenDone = true;
        cancel();
        return;
    }
    QDialog::reject();
}

QString ReplayDialog::progressText(int done, int total, qint64 elapsedMs)
{
    const QString head = QStringLiteral("正在回测：已完成 %1/%2 期，").arg(done).arg(total);
    // Too little done to tell: the first draws also start the script worker.
    if (done <= 0 || elapsedMs < 500)
        return head + QStringLiteral("正在估计剩余时间...");
    const qint64 seconds = (elapsedMs * (total - done) / done + 999) / 1000;
    if (seconds < 60)
        return head + QStringLiteral("预计还需约 %1 秒。").arg(seconds);
    return head + QStringLiteral("预计还需约 %1 分 %2 秒。").arg(seconds / 60).arg(seconds % 60);
}

QString ReplayDialog::progressStatus(int done, int total, int) const
{
    return progressText(done, total, m_runner->elapsedMs());
}

void ReplayDialog::showProgress(int done, int total, int scheme)
{
    if (m_progress->maximum() != total)
        m_progress->setMaximum(total);
    m_progress->setValue(done);
    if (!m_runner->isCancelling())
        m_status->setText(progressStatus(done, total, scheme));
}

void ReplayDialog::finish(const QList<BacktestResult> &results)
{
    setRunning(false);
    showRun(results);
    if (m_closeWhenDone) {
        m_closeWhenDone = false;
        QDialog::reject();
    }
    Q_EMIT runFinished();
}

} // namespace numsieve::gui
