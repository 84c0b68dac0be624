#pragma once

#include <QString>

#include <optional>

namespace numsieve {

// A line of lottery.data (id, name) or of a draw file (issue, number).
struct Record {
    QString first;
    QString second;

    friend bool operator==(const Record &, const Record &) = default;
};

// The first "$" splits the line; a second "$" ends the second field and the
// rest of the line is ignored. Nothing is trimmed: blanks belong to the fields.
// A line without "$" or with an empty field yields nothing.
std::optional<Record> parseRecordLine(const QString &line);

// The line as written, without its line end.
QString recordLine(const QString &first, const QString &second);

} // namespace numsieve
