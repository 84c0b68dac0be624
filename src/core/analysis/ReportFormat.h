#pragma once

namespace numsieve {

// The forms every analysis is written in, as the command-line tool prints
// them and the windows export them: a Chinese table, or csv and json with
// English keys.
enum class ReportFormat { Text, Csv, Json };

} // namespace numsieve
