#pragma once

#include <QString>
#include <QStringList>

namespace numsieve {

// The pieces the analyses' text and CSV forms share.

// A column of a text table: padded to a width counted in half-width cells,
// a Chinese character taking two.
QString tableCell(const QString &text, int width, bool right = false);

// A CSV field: quoted when it holds a separator, a quote or a line break.
QString csvField(const QString &text);
QString csvLine(const QStringList &fields);

} // namespace numsieve
