#pragma once

#include <QString>
#include <QStringList>

class QImage;
class QTableWidget;
class QWidget;

namespace numsieve::gui {

class AppServices;

// 导出CSV...: asks for a file (".csv" appended unless given) and writes the
// lines as every other file of the program, GBK with CR LF. A failed save
// shows its message; returns whether a file was written.
bool exportCsvLines(AppServices &services, QWidget *parent, const QStringList &lines,
                    const QString &suggestedName = {});

// 导出图片...: asks for a file (".png" appended unless given) and writes the
// picture there as a PNG. A failed save says so; returns whether a file was
// written.
bool exportImage(AppServices &services, QWidget *parent, const QImage &image, const QString &suggestedName = {});

// The lines of a back-test, filter report or scheme comparison as the windows export them:
// the command line's English column keys and row keys in Chinese, the rest as is.
QStringList withChineseCaptions(const QStringList &lines);

// The read-only table of the analysis dialogs: a name column that takes the
// room left and two figure columns at least as wide as `widestHeader` needs.
QTableWidget *figureTable(int rows, const QStringList &headers, const QString &widestHeader);

// How the analysis dialogs show a share: "12.34%".
QString percentText(double share);

// How the windows show a chance figure: a percentage of `digits`
// significant digits ("40.2%", "4.94%", "0.0123%" for 3), with more where a
// figure under the 5% mark would otherwise read as the mark itself
// ("4.996%"), and "<0.001%" for what is smaller still.
QString chanceText(double chance, int digits = 3);

} // namespace numsieve::gui
