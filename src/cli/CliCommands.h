#pragma once

#include <QStringList>

namespace numsieve::cli {

// Exit statuses: 0 done, 1 the system refused (its message went to standard
// error), 2 the command line itself was wrong.
enum ExitStatus { Ok = 0, Refused = 1, Usage = 2 };

int run(const QStringList &arguments);

} // namespace numsieve::cli
