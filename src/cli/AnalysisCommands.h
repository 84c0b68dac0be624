#pragma once

#include <QStringList>

namespace numsieve::cli {

// numsieve-cli backtest: the scheme replayed over the lottery's latest draws,
// against chance, with what each condition cost.
int runBacktestCommand(const QStringList &args);

// numsieve-cli report: the current filter run counted condition by condition.
int runReportCommand(const QStringList &args);

} // namespace numsieve::cli
