#pragma once

#include <QString>
#include <QStringList>

#include <expected>

namespace numsieve {

// Cleans up the lines of a number file the way the intersect command and the
// base-file import read them: trimmed, empty lines skipped, blanks (also the
// full-width one), ",", "-" and "+" removed; what is left must be three digits.
// The first bad line decides the error and nothing read before it is kept.
std::expected<QStringList, QString> parseNumberLines(const QStringList &lines);

// Reads and cleans up a number file; a missing file is "文件不存在".
std::expected<QStringList, QString> readNumberListFile(const QString &path);

// Keeps the first occurrence of every text, in order.
QStringList withoutRepeats(const QStringList &texts);

// The path a chosen save name is written to: exactly as chosen, with the
// extension appended unless the name already ends with it in any letter case
// ("a.TXT" stays, "a.txt.bak" -> "a.txt.bak.txt"). File names here keep their
// case, so changing it would write another file than the one the user chose.
QString savePathWithExtension(const QString &chosenPath, const QString &extension);

// One "%.3d" text per line, GBK, CR LF, replaced atomically.
std::expected<void, QString> writeNumberListFile(const QString &path, const QStringList &numbers);

// The fixed print file beside the executable.
QString printFilePath(const QString &programFolder);

} // namespace numsieve
