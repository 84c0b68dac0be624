#pragma once

#include <QStringList>

namespace numsieve::cli {

// numsieve-cli draws list|add|import|export|download: the lottery manager's
// draw operations over the same core, each change saved as 保存 saves it.
int runDrawsCommand(const QStringList &args);

} // namespace numsieve::cli
