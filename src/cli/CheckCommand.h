#pragma once

#include <QStringList>

namespace numsieve::cli {

// numsieve-cli check: 对奖 of number list files against one draw.
int runCheckCommand(const QStringList &args);

} // namespace numsieve::cli
