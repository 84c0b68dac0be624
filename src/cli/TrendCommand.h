#pragma once

#include <QStringList>

namespace numsieve::cli {

// numsieve-cli trend: the 走势图's columns of one lottery over its latest
// draws, with the statistics at their foot and how far each is from chance.
int runTrendCommand(const QStringList &args);

} // namespace numsieve::cli
