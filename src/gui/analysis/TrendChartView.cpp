#include "gui/analysis/TrendChartView.h"

#include "gui/analysis/CsvExport.h"
#include "gui/analysis/TrendModel.h"

#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QToolTip>

#include <algorithm>

namespace numsieve::gui {

namespace {

const QColor kGrid(214, 222, 232);
const QColor kGroupEdge(120, 140, 170);
const QColor kOmission(150, 150, 150);
const QColor kHeaderBack(228, 238, 250);
const QColor kFootBack(244, 247, 252);
const QColor kStripe(248, 250, 253);
const QColor kMarkBack(255, 226, 222);
const QColor kMarkText(200, 30, 20);

// One colour per group, so that neighbouring groups never share one.
QColor groupColour(TrendGroup group)
{
    switch (group) {
    case TrendGroup::Hundreds: return {214, 48, 39};
    case TrendGroup::Tens: return {36, 99, 200};
    case TrendGroup::Units: return {22, 140, 70};
    case TrendGroup::Anywhere: return {128, 60, 170};
    case TrendGroup::Sum: return {220, 110, 20};
    case TrendGroup::Span: return {0, 130, 140};
    case TrendGroup::Tail: return {150, 90, 40};
    case TrendGroup::BigSmall: return {214, 48, 39};
    case TrendGroup::OddEven: return {36, 99, 200};
    case TrendGroup::PrimeComposite: return {22, 140, 70};
    case TrendGroup::Kind: return {128, 60, 170};
    }
    return Qt::black;
}

QString shownValue(const QString &value)
{
    return value.mid(value.lastIndexOf(QLatin1Char(' ')) + 1);
}

} // namespace

TrendChartView::TrendChartView(TrendModel *model, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_model(model)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setAutoFillBackground(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        relayout();
        scrollToNewest();
        viewport()->update();
    });
    relayout();
}

void TrendChartView::setShowOmissions(bool show)
{
    m_omissions = show;
    viewport()->update();
}

void TrendChartView::setShowLines(bool show)
{
    m_lines = show;
    viewport()->update();
}

void TrendChartView::scrollToNewest()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

QSize TrendChartView::sizeHint() const
{
    return {valuesLeft() + int(m_x.last()) + 2 * frameWidth()
                + verticalScrollBar()->sizeHint().width(),
            640};
}

QSize TrendChartView::wholeSize() const
{
    return {valuesLeft() + int(m_x.last()) + 1,
            m_headerHeight + m_model->rowCount() * m_rowHeight + m_footHeight};
}

QImage TrendChartView::wholeChart() const
{
    QImage image(wholeSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font());
    paintChart(p, image.size(), 0, 0);
    return image;
}

void TrendChartView::relayout()
{
    const QFontMetrics fm(font());
    m_rowHeight = fm.height() + 6;
    m_headerHeight = 2 * m_rowHeight;
    m_footHeight = TrendModel::kFootRows * m_rowHeight;
    const TrendTable &table = m_model->table();
    int issueWidth = fm.horizontalAdvance(QStringLiteral("平均遗漏"));
    // The issues of one lottery have one length; the ends of the window show it.
    for (int row : {m_model->firstRow(), table.rowCount() - 1})
        if (row >= 0 && row < table.rowCount())
            issueWidth = std::max(issueWidth, fm.horizontalAdvance(table.draw(row).issue));
    m_issueWidth = issueWidth + 12;
    m_numberWidth = std::max(fm.horizontalAdvance(QStringLiteral("开奖号")), fm.horizontalAdvance(QStringLiteral("0000"))) + 12;
    // The foot's row names stand under both columns.
    for (int foot = 0; foot < TrendModel::kFootRows; ++foot)
        m_issueWidth = std::max(m_issueWidth,
                                fm.horizontalAdvance(m_model->footName(TrendModel::FootRow(foot))) + 12 - m_numberWidth);

    m_x.clear();
    m_groupOf.clear();
    int x = 0;
    const QList<TrendGroup> &groups = m_model->groups();
    for (int g = 0; g < groups.size(); ++g) {
        const ColumnRange range = trendGroupColumns(groups.at(g));
        for (int c = range.first; c < range.first + range.count; ++c) {
            const int valueColumn = int(m_x.size());
            int width = std::max(fm.horizontalAdvance(shownValue(trendColumns().at(c).value)) + 10, m_rowHeight + 2);
            for (int foot = 0; foot < TrendModel::kFootRows; ++foot)
                width = std::max(width, fm.horizontalAdvance(m_model->footText(TrendModel::FootRow(foot), valueColumn)) + 5);
            m_x.append(x);
            m_groupOf.append(g);
            x += width;
        }
    }
    m_x.append(x);
    updateScrollBars();
    updateGeometry();
}

void TrendChartView::updateScrollBars()
{
    const int bodyHeight = std::max(0, viewport()->height() - m_headerHeight - m_footHeight);
    const int bodyWidth = std::max(0, viewport()->width() - m_issueWidth - m_numberWidth);
    verticalScrollBar()->setRange(0, std::max(0, m_model->rowCount() * m_rowHeight - bodyHeight));
    verticalScrollBar()->setPageStep(std::max(m_rowHeight, bodyHeight));
    verticalScrollBar()->setSingleStep(m_rowHeight);
    horizontalScrollBar()->setRange(0, std::max(0, int(m_x.last()) - bodyWidth));
    horizontalScrollBar()->setPageStep(std::max(1, bodyWidth));
    horizontalScrollBar()->setSingleStep(m_rowHeight);
}

void TrendChartView::resizeEvent(QResizeEvent *event)
{
    const bool atNewest = verticalScrollBar()->value() == verticalScrollBar()->maximum();
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    if (atNewest)
        scrollToNewest();
}

QRect TrendChartView::cellRect(int row, int valueColumn) const
{
    return {m_x.at(valueColumn), row * m_rowHeight, m_x.at(valueColumn + 1) - m_x.at(valueColumn), m_rowHeight};
}

int TrendChartView::valueColumnAt(int x) const
{
    const auto it = std::upper_bound(m_x.begin(), m_x.end(), x);
    return int(it - m_x.begin()) - 1;
}

QString TrendChartView::toolTipAt(QPoint pos) const
{
    // The foot explains itself: a row name what its row counts, a cell its
    // column's figures.
    const int footTop = viewport()->height() - m_footHeight;
    if (pos.y() < footTop)
        return {};
    const auto row = TrendModel::FootRow(std::min((pos.y() - footTop) / m_rowHeight, TrendModel::kFootRows - 1));
    const int left = valuesLeft();
    if (pos.x() < left)
        return m_model->footTip(row);
    const int column = valueColumnAt(pos.x() - left + horizontalScrollBar()->value());
    if (column < 0 || column >= m_model->valueColumnCount())
        return {};
    const TrendStats &s = m_model->stats(column);
    const TrendColumn &c = trendColumns().at(m_model->tableColumn(column));
    return QStringLiteral("%1 %2\n这%3期出现%4次，期望%5次\n%6 %7\n\n%8")
        .arg(trendGroupName(c.group), c.value)
        .arg(m_model->rowCount())
        .arg(s.hits)
        .arg(QString::number(s.expected, 'f', 2), TrendModel::kChanceName, chanceText(s.pChance),
             m_model->chanceExplained());
}

bool TrendChartView::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        if (const QString tip = toolTipAt(help->pos()); !tip.isEmpty())
            QToolTip::showText(help->globalPos(), tip, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void TrendChartView::paintEvent(QPaintEvent *)
{
    QPainter p(viewport());
    std::tie(m_paintedFirst, m_paintedLast) =
        paintChart(p, viewport()->size(), horizontalScrollBar()->value(), verticalScrollBar()->value());
}

std::pair<int, int> TrendChartView::paintChart(QPainter &p, QSize area, int hx, int vy) const
{
    p.fillRect(QRect(QPoint(0, 0), area), Qt::white);
    Frame f;
    f.left = valuesLeft();
    f.width = area.width();
    f.footTop = area.height() - m_footHeight;
    f.body = QRect(f.left, m_headerHeight, std::max(0, f.width - f.left), std::max(0, f.footTop - m_headerHeight));
    f.hx = hx;
    f.vy = vy;
    f.firstRow = std::max(0, vy / m_rowHeight);
    f.lastRow = std::min(m_model->rowCount() - 1, (vy + f.body.height()) / m_rowHeight);
    f.firstColumn = std::max(0, valueColumnAt(hx));
    f.lastColumn = std::min(m_model->valueColumnCount() - 1, valueColumnAt(hx + f.body.width()));
    f.shift = QPoint(f.left - hx, m_headerHeight - vy);

    paintBody(p, f);
    // The lines run under the balls.
    p.setRenderHint(QPainter::Antialiasing);
    if (m_lines)
        paintLines(p, f);
    paintBalls(p, f);
    p.setRenderHint(QPainter::Antialiasing, false);
    paintIssueColumns(p, f);
    paintHeader(p, f);
    paintFoot(p, f);
    return m_model->rowCount() > 0 ? std::pair(f.firstRow, f.lastRow) : std::pair(-1, -1);
}

void TrendChartView::paintBody(QPainter &p, const Frame &f) const
{
    // The body: stripes, grid, omissions.
    const int columns = m_model->valueColumnCount();
    const TrendTable &table = m_model->table();
    p.setClipRect(f.body);
    for (int row = f.firstRow; row <= f.lastRow; ++row) {
        const QRect line = f.place(QRect(0, row * m_rowHeight, int(m_x.last()), m_rowHeight));
        if (row % 2)
            p.fillRect(line, kStripe);
        p.setPen(kGrid);
        p.drawLine(line.bottomLeft(), line.bottomRight());
    }
    for (int c = f.firstColumn; c <= f.lastColumn + 1 && c < m_x.size(); ++c) {
        const bool groupEdge = c == 0 || c == columns || m_groupOf.value(c) != m_groupOf.value(c - 1);
        p.setPen(groupEdge ? kGroupEdge : kGrid);
        const int x = f.left + m_x.at(c) - f.hx;
        p.drawLine(x, f.body.top(), x, f.body.bottom());
    }
    const int tableFirst = m_model->firstRow();
    if (m_omissions) {
        p.setPen(kOmission);
        for (int row = f.firstRow; row <= f.lastRow; ++row)
            for (int c = f.firstColumn; c <= f.lastColumn; ++c)
                if (!table.hit(tableFirst + row, m_model->tableColumn(c)))
                    p.drawText(f.place(cellRect(row, c)), Qt::AlignCenter,
                               QString::number(table.omission(tableFirst + row, m_model->tableColumn(c))));
    }
}

void TrendChartView::paintLines(QPainter &p, const Frame &f) const
{
    // Lines from each draw's hit to the next one's, for the groups where a
    // draw has exactly one value.
    const int rows = m_model->rowCount();
    const TrendTable &table = m_model->table();
    const QList<TrendGroup> &groups = m_model->groups();
    const int tableFirst = m_model->firstRow();
    int groupStart = 0;
    for (int g = 0; g < groups.size(); ++g) {
        const ColumnRange range = trendGroupColumns(groups.at(g));
        if (groups.at(g) != TrendGroup::Anywhere) {
            p.setPen(QPen(groupColour(groups.at(g)), 1.5));
            for (int row = std::max(0, f.firstRow - 1); row < std::min(rows - 1, f.lastRow + 1); ++row) {
                const int a = table.hitColumn(tableFirst + row, groups.at(g));
                const int b = table.hitColumn(tableFirst + row + 1, groups.at(g));
                if (a < 0 || b < 0)
                    continue;
                p.drawLine(f.place(cellRect(row, groupStart + a - range.first)).center(),
                           f.place(cellRect(row + 1, groupStart + b - range.first)).center());
            }
        }
        groupStart += range.count;
    }
}

void TrendChartView::paintBalls(QPainter &p, const Frame &f) const
{
    const QFontMetrics fm(font());
    const TrendTable &table = m_model->table();
    const QList<TrendGroup> &groups = m_model->groups();
    const int tableFirst = m_model->firstRow();
    QFont bold = font();
    bold.setBold(true);
    p.setFont(bold);
    for (int row = f.firstRow; row <= f.lastRow; ++row) {
        for (int c = f.firstColumn; c <= f.lastColumn; ++c) {
            const int column = m_model->tableColumn(c);
            const int count = table.hitCount(tableFirst + row, column);
            if (count == 0)
                continue;
            const QRect cell = f.place(cellRect(row, c));
            const QString text = shownValue(trendColumns().at(column).value);
            const int diameter = m_rowHeight - 3;
            const int ballWidth = std::max(diameter, fm.horizontalAdvance(text) + 8);
            const QRectF ball(cell.center().x() - ballWidth / 2.0 + 0.5, cell.center().y() - diameter / 2.0 + 0.5,
                              ballWidth, diameter);
            p.setPen(Qt::NoPen);
            p.setBrush(groupColour(groups.at(m_groupOf.at(c))));
            p.drawRoundedRect(ball, diameter / 2.0, diameter / 2.0);
            p.setPen(Qt::white);
            p.drawText(ball, Qt::AlignCenter, text);
            if (count > 1) {
                // A digit the number holds twice or three times.
                p.setPen(Qt::black);
                p.drawText(cell.adjusted(0, -2, -1, 0), Qt::AlignRight | Qt::AlignTop, QString::number(count));
            }
        }
    }
    p.setFont(font());
    p.setBrush(Qt::NoBrush);
}

void TrendChartView::paintIssueColumns(QPainter &p, const Frame &f) const
{
    // The issue and number columns.
    const TrendTable &table = m_model->table();
    const int tableFirst = m_model->firstRow();
    p.setClipRect(QRect(0, f.body.top(), f.left, f.body.height()));
    for (int row = f.firstRow; row <= f.lastRow; ++row) {
        const int y = m_headerHeight + row * m_rowHeight - f.vy;
        const QRect issue(0, y, m_issueWidth, m_rowHeight);
        const QRect number(m_issueWidth, y, m_numberWidth, m_rowHeight);
        p.fillRect(issue.united(number), row % 2 ? kStripe : QColor(Qt::white));
        p.setPen(kGrid);
        p.drawLine(issue.bottomLeft(), number.bottomRight());
        p.setPen(Qt::black);
        const Draw &d = table.draw(tableFirst + row);
        p.drawText(issue, Qt::AlignCenter, d.issue);
        p.drawText(number, Qt::AlignCenter, d.number);
    }
    p.setPen(kGroupEdge);
    p.drawLine(m_issueWidth, f.body.top(), m_issueWidth, f.body.bottom());
}

void TrendChartView::paintHeader(QPainter &p, const Frame &f) const
{
    // The header: group names over their values.
    p.setClipRect(QRect(0, 0, f.width, m_headerHeight));
    p.fillRect(QRect(0, 0, f.width, m_headerHeight), kHeaderBack);
    p.setPen(Qt::black);
    p.drawText(QRect(0, 0, m_issueWidth, m_headerHeight), Qt::AlignCenter, QStringLiteral("奖期"));
    p.drawText(QRect(m_issueWidth, 0, m_numberWidth, m_headerHeight), Qt::AlignCenter, QStringLiteral("开奖号"));
    p.setClipRect(QRect(f.left, 0, std::max(0, f.width - f.left), m_headerHeight));
    for (int c = f.firstColumn; c <= f.lastColumn; ++c) {
        const QRect cell(f.left + m_x.at(c) - f.hx, m_rowHeight, m_x.at(c + 1) - m_x.at(c), m_rowHeight);
        p.setPen(kGrid);
        p.drawLine(cell.topRight(), cell.bottomRight());
        p.setPen(Qt::black);
        p.drawText(cell, Qt::AlignCenter, shownValue(trendColumns().at(m_model->tableColumn(c)).value));
    }
    int groupStart = 0;
    for (TrendGroup g : m_model->groups()) {
        const int count = trendGroupColumns(g).count;
        const QRect span(f.left + m_x.at(groupStart) - f.hx, 0, m_x.at(groupStart + count) - m_x.at(groupStart),
                         m_rowHeight);
        p.setPen(kGroupEdge);
        p.drawRect(span.adjusted(0, 0, 0, m_rowHeight));
        p.setPen(groupColour(g));
        p.drawText(span, Qt::AlignCenter, trendGroupName(g));
        groupStart += count;
    }
    p.setClipping(false);
    p.setPen(kGroupEdge);
    p.drawLine(0, m_headerHeight - 1, f.width, m_headerHeight - 1);
}

void TrendChartView::paintFoot(QPainter &p, const Frame &f) const
{
    // The foot: the statistics, a column far from chance marked.
    p.fillRect(QRect(0, f.footTop, f.width, m_footHeight), kFootBack);
    for (int foot = 0; foot < TrendModel::kFootRows; ++foot) {
        const int y = f.footTop + foot * m_rowHeight;
        p.setClipping(false);
        p.setPen(Qt::black);
        p.drawText(QRect(0, y, f.left, m_rowHeight), Qt::AlignCenter, m_model->footName(TrendModel::FootRow(foot)));
        p.setClipRect(QRect(f.left, f.footTop, std::max(0, f.width - f.left), m_footHeight));
        for (int c = f.firstColumn; c <= f.lastColumn; ++c) {
            const QRect cell(f.left + m_x.at(c) - f.hx, y, m_x.at(c + 1) - m_x.at(c), m_rowHeight);
            const bool marked = m_model->stats(c).marked();
            if (marked)
                p.fillRect(cell, kMarkBack);
            p.setPen(kGrid);
            p.drawRect(cell.adjusted(0, 0, 0, -1));
            p.setPen(marked ? kMarkText : QColor(Qt::black));
            p.drawText(cell, Qt::AlignCenter, m_model->footText(TrendModel::FootRow(foot), c));
        }
    }
    p.setClipping(false);
    p.setPen(kGroupEdge);
    p.drawLine(0, f.footTop, f.width, f.footTop);
}

} // namespace numsieve::gui
