#pragma once

#include "gui/analysis/ReplayDialog.h"

#include <QList>

#include <optional>

class QChartView;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace numsieve::gui {

class AppServices;

// 方案对比: several scheme files replayed over the same draws of the selected
// lottery, one after another in the background as 方案回测 does, with
// progress, the time left and 取消. The table has one row per scheme and
// marks the best, the one whose hits are least likely by chance; since the
// best of several tries always looks good, it also says how likely the best
// of that many schemes with no skill at all would look as good. A run that
// is cancelled shows nothing: schemes replayed over fewer draws than the
// others would not compare fairly.
class CDialogCompare : public ReplayDialog
{
    Q_OBJECT

public:
    enum Column {
        Name, Steps, MeanSurvivors, Hits, ExpectedHits, Lift, PChance, // the back-test's figures
        Spent, Won, ReturnRate, PWon, kColumns                         // with prizes
    };
    static inline const QString kBestMark = QStringLiteral("★ ");

    CDialogCompare(AppServices &services, const AnalysedLottery &lottery, QWidget *parent = nullptr);

    QListWidget *schemeList() const { return m_schemes; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *removeButton() const { return m_remove; }
    QTableWidget *table() const { return m_table; }
    // The best scheme and the chance that the best of them is luck.
    QLabel *bestLabel() const { return m_best; }
    QChartView *chart() const { return m_chart; }
    QPushButton *exportCsvButton() const { return m_exportCsv; }
    QPushButton *exportPictureButton() const { return m_exportPicture; }
    // The comparison shown: none before the first run ends and after a cancelled one.
    const std::optional<SchemeComparison> &comparison() const { return m_comparison; }

    // 添加方案...: asks for a scheme file and adds it.
    void addSchemeFile();
    // Reads and checks a scheme file and adds it; what cannot be used is said and not added.
    bool addScheme(const QString &path);
    // 开始, 导出CSV... and 导出图片...
    void start();
    bool exportCsv();
    bool exportPicture();

protected:
    void setRunning(bool running) override;
    QString progressStatus(int done, int total, int scheme) const override;
    void showRun(const QList<BacktestResult> &results) override;

private:
    struct Scheme {
        QString path;
        QString name;
        Workspace workspace;
    };

    // The list of scheme files with 添加方案... and 移除方案.
    QHBoxLayout *createSchemeRow();
    // The figures, the note and the chart, which scroll together.
    QWidget *createBody();
    void clearComparison();
    void showTable(const SchemeComparison &comparison);
    void showChart(const SchemeComparison &comparison);

    AppServices &m_services;
    QList<Scheme> m_schemeFiles;
    // The names of the schemes of the run going on.
    QStringList m_running;
    std::optional<SchemeComparison> m_comparison;

    QListWidget *m_schemes = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QTableWidget *m_table = nullptr;
    QLabel *m_best = nullptr;
    QChartView *m_chart = nullptr;
    QPushButton *m_exportCsv = nullptr;
    QPushButton *m_exportPicture = nullptr;
};

} // namespace numsieve::gui
