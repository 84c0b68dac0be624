#pragma once

#include "core/history/Draw.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// Draws found in a table as players have one: copied from a web page or a
// spreadsheet, or saved as CSV by another program. One layout (the separator,
// the issue column and the draw column) is chosen for the whole text; a line
// it does not read is listed with the reason, never read some other way. A
// header decides where it names columns: a column it calls 试机号 or a date
// is never the draw or the issue. Every step looks at each character a
// bounded number of times, and a draw read is kept as a few positions in the
// text, so that a text of the largest file size is read in linear time and
// in a few times its size of memory.
struct TableSkip {
    int line = 0;
    QString source;
    QString reason;
};

class TableReading
{
public:
    // Where one draw stands in the text.
    struct Row {
        qsizetype lineStart = 0;   // the line's offset in the text
        int lineLength = 0;
        int line = 0;              // 1-based
        int issueStart = 0;        // within the line
        int issueLength = 0;
        int dash = -1;             // within the line, for "2024-001"
        quint16 number = 0;
        bool padded = false;       // one or two digits, read with zeros in front
    };

    // The draws oldest first, whatever the text's order.
    qsizetype size() const { return m_rows.size(); }
    Draw draw(qsizetype index) const;   // the issue as digits only, the number as three digits
    int line(qsizetype index) const { return m_rows.at(index).line; }
    QString source(qsizetype index) const;   // the line as it was
    QList<Draw> draws() const;

    // Lines that hold something but were not read: the first kListedSkips
    // of them with their reasons, and how many there were.
    static constexpr int kListedSkips = 1000;
    QList<TableSkip> skipped;
    qsizetype skippedCount = 0;

    int headerLine = 0;         // the header line, 0 when there is none
    bool newestFirst = false;   // the order the text lists the draws in
    QString columns;            // "第1列为奖期，第3列为开奖号码"
    // What the reader decided for the player to check: two three-digit
    // columns and no header to tell them apart, numbers padded with zeros,
    // an issue column that looks like dates.
    QStringList notes;

    // "第1列为奖期，第3列为开奖号码，新的在前"
    QString description() const;
    // For a text whose order was taken wrongly: the draws are stored in the
    // other order.
    void reverse();

private:
    friend std::expected<TableReading, QString> readTableText(QString text);

    QString m_text;
    QList<Row> m_rows;
};

// Reads the bytes of a text file (GBK or UTF-8, with or without a byte order
// mark; any line ends). Refused, with the reason, when no draw can be read or
// the text mixes two layouts or holds draws of more than three digits.
std::expected<TableReading, QString> readTable(const QByteArray &bytes);
std::expected<TableReading, QString> readTableText(QString text);

} // namespace numsieve
