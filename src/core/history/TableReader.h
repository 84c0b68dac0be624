#pragma once

#include "history/Draw.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// Draws found in a table as players have one: copied from a web page or a
// spreadsheet, or saved as CSV by another program. One layout (the separator,
// the issue column and the draw column) is chosen for the whole text, the one
// that reads the most lines; a line it does not read is listed with the
// reason, never read some other way. Every step looks at each character a
// bounded number of times, so a text of the largest file size is read in
// linear time.
struct TableRow {
    Draw draw;        // the issue as digits only, the number as three digits
    int line = 0;     // 1-based line of the text it stands in
    QString source;   // that line as it was
};

struct TableSkip {
    int line = 0;
    QString source;
    QString reason;
};

struct TableReading {
    QList<TableRow> rows;       // oldest first, whatever the text's order
    QList<TableSkip> skipped;   // lines that hold something but were not read
    int headerLine = 0;         // the header line, 0 when there is none
    bool newestFirst = false;   // the order the text lists the draws in
    QString columns;            // "第1列为奖期，第3列为开奖号码"
    // Set when every line holds two three-digit candidates and no header
    // names the draw's column: the first was taken.
    QString note;

    // "第1列为奖期，第3列为开奖号码，新的在前"
    QString description() const;
    QList<Draw> draws() const;
    // For a text whose order was taken wrongly: the draws are stored in the
    // other order.
    void reverse();
};

// Reads the bytes of a text file (GBK or UTF-8, with or without a byte order
// mark; any line ends). Refused, with the reason, when no draw can be read or
// the text mixes two layouts or holds draws of more than three digits.
std::expected<TableReading, QString> readTable(const QByteArray &bytes);
std::expected<TableReading, QString> readTableLines(const QStringList &lines);

} // namespace numsieve
