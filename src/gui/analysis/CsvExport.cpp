#include "gui/analysis/CsvExport.h"

#include "gui/app/AppServices.h"
#include "core/text/SaveFile.h"
#include "core/text/TextFile.h"

#include <QBuffer>
#include <QHash>
#include <QHeaderView>
#include <QImage>
#include <QImageWriter>
#include <QTableWidget>

#include <algorithm>
#include <cmath>

namespace numsieve::gui {

bool exportCsvLines(AppServices &services, QWidget *parent, const QStringList &lines, const QString &suggestedName)
{
    const QString path =
        chooseSavePath(services, parent, QStringLiteral("CSV文件(*.csv)"), QStringLiteral(".csv"), suggestedName);
    if (path.isEmpty())
        return false;
    const auto saved = writeTextLines(path, lines);
    if (!saved)
        services.warn(parent, saved.error());
    return saved.has_value();
}

bool exportImage(AppServices &services, QWidget *parent, const QImage &image, const QString &suggestedName)
{
    const QString path =
        chooseSavePath(services, parent, QStringLiteral("PNG图片(*.png)"), QStringLiteral(".png"), suggestedName);
    if (path.isEmpty())
        return false;
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    if (!QImageWriter(&png, "png").write(image)) {
        services.warn(parent, QStringLiteral("无法保存图片文件 %1").arg(path));
        return false;
    }
    // Through the one save routine: only a file it may replace, and a failed
    // write leaves the old one.
    const auto saved = saveFileAtomically(path, png.data());
    if (!saved)
        services.warn(parent, saved.error());
    return saved.has_value();
}

QStringList withChineseCaptions(const QStringList &lines)
{
    // Whole header lines only: a number or a condition's name in a row is
    // never taken for a key.
    static const QHash<QString, QString> headers{
        {QStringLiteral("issue,number,survivors,chance,hit"),
         QStringLiteral("期号,开奖号码,剩余注数,偶然命中概率,命中")},
        {QStringLiteral("issue,number,survivors,chance,hit,cost,won"),
         QStringLiteral("期号,开奖号码,剩余注数,偶然命中概率,命中,投入,中奖")},
        {QStringLiteral("condition,name,kills,mean_removed"),
         QStringLiteral("条件编号,条件,淘汰开奖号,平均淘汰比例")},
        {QStringLiteral("last,hits,hit_rate,expected_hits,lift,p_chance,mean_survivors,message"),
         QStringLiteral("回测期数,命中,命中率,期望命中,提升倍数,偶然达到概率,平均注数,中止原因")},
        {QStringLiteral("last,hits,hit_rate,expected_hits,lift,p_chance,mean_survivors,message,"
                        "spent,won,return,expected_won,expected_return,p_won"),
         QStringLiteral("回测期数,命中,命中率,期望命中,提升倍数,偶然达到概率,平均注数,中止原因,"
                        "投入,中奖,回报率,随机平均中奖,随机平均回报率,中奖偶然概率")},
        {QStringLiteral("step,name,failing,survivors"), QStringLiteral("步骤,条件,单独淘汰,累计剩余")},
        {QStringLiteral("bets,cost,expected_won,expected_return"),
         QStringLiteral("注数,投入,随机平均中奖,随机平均回报率")},
        {QStringLiteral("scheme,last,mean_survivors,hits,expected_hits,lift,p_chance,message"),
         QStringLiteral("方案,回测期数,平均注数,命中,期望命中,提升倍数,偶然达到概率,中止原因")},
        {QStringLiteral("scheme,last,mean_survivors,hits,expected_hits,lift,p_chance,spent,won,return,p_won,message"),
         QStringLiteral(
             "方案,回测期数,平均注数,命中,期望命中,提升倍数,偶然达到概率,投入,中奖,回报率,中奖偶然概率,中止原因")},
        {QStringLiteral("best,tries,best_by_luck"), QStringLiteral("最好的方案,方案数,最好的方案靠运气也这么好的概率")},
    };
    // The first field of the filter report's rows that are not a condition.
    static const QHash<QString, QString> steps{
        {QStringLiteral("gathered"), QStringLiteral("选号")},
        {QStringLiteral("stopped"), QStringLiteral("中止")},
        {QStringLiteral("result"), QStringLiteral("结果")},
        {QStringLiteral("intersected"), QStringLiteral("交集")},
    };
    QStringList out;
    out.reserve(lines.size());
    bool report = false;
    for (const QString &line : lines) {
        if (const auto header = headers.constFind(line); header != headers.cend()) {
            report = line.startsWith(QLatin1String("step,"));
            out << *header;
            continue;
        }
        const QString first = line.section(QLatin1Char(','), 0, 0);
        if (const auto step = steps.constFind(first); report && step != steps.cend())
            out << *step + line.mid(first.size());
        else
            out << line;
    }
    return out;
}

QTableWidget *figureTable(int rows, const QStringList &headers, const QString &widestHeader)
{
    auto *table = new QTableWidget(rows, int(headers.size()));
    table->setHorizontalHeaderLabels(headers);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The figures' columns keep some room around their headers.
    QHeaderView *header = table->horizontalHeader();
    header->setMinimumSectionSize(header->fontMetrics().horizontalAdvance(widestHeader) + 24);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < headers.size(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    return table;
}

QString percentText(double share)
{
    return QString::number(share * 100, 'f', 2) + QLatin1Char('%');
}

QString chanceText(double chance, int digits)
{
    // Both windows mark or call "small" what is under 5%.
    constexpr double kMarkPercent = 5;
    const double percent = chance * 100;
    if (percent <= 0)
        return QStringLiteral("0%");
    if (percent < 0.001)
        return QStringLiteral("<0.001%");
    // Never fewer digits than the whole part has: 100, not 1e+02.
    digits = std::max(digits, int(std::floor(std::log10(percent))) + 1);
    QString text;
    for (; digits <= 15; ++digits) {
        text = QString::number(percent, 'g', digits);
        if (percent >= kMarkPercent || text.toDouble() < kMarkPercent)
            break;
    }
    return text + QLatin1Char('%');
}

} // namespace numsieve::gui
