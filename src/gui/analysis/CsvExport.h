#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace numsieve::gui {

class AppServices;

// 导出CSV...: asks for a file (".csv" appended unless given) and writes the
// lines as every other file of the program, GBK with CR LF. A failed save
// shows its message; returns whether a file was written.
bool exportCsvLines(AppServices &services, QWidget *parent, const QStringList &lines);

// How the analysis dialogs show a share: "12.34%".
QString percentText(double share);

} // namespace numsieve::gui
