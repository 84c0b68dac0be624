#pragma once

#include <QStringList>

namespace numsieve::cli {

// numsieve-cli draws list|add|import|export|download: the lottery manager's
// draw operations over the same core, each change saved as 保存 saves it.
int runDrawsCommand(const QStringList &args);

// numsieve-cli publish: the folder that answers every endpoint the program
// asks, for any static web server to serve.
int runPublishCommand(const QStringList &args);

} // namespace numsieve::cli
