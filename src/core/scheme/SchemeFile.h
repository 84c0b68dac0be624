#pragma once

#include <QString>

#include <expected>

namespace numsieve {

class Workspace;

// A condition scheme: 103 state lines, the marker "Advanced" on line 104 and the
// advanced condition text. In memory lines end with LF; on disk with CR LF, GBK.
inline constexpr int kSchemeStateLines = 103;

QString buildSchemeText(const Workspace &workspace);

// Checks the whole text without changing anything; the error is the message.
std::expected<void, QString> validateSchemeText(const QString &text);

// Applies a text to the workspace in the order the user's clicks would, checking
// each line again. On a failure the workspace is left as it was; after a
// successful validation the only line still refused is the shown panel (line 6).
std::expected<void, QString> applySchemeText(const QString &text, Workspace &workspace);

// Reads a scheme file: every line followed by LF. A missing file is "文件不存在".
std::expected<QString, QString> readSchemeFile(const QString &path);
// Writes the text with CR LF line ends, GBK, replacing the file atomically.
std::expected<void, QString> writeSchemeFile(const QString &path, const QString &text);

// Validates and then applies; nothing changes when validation fails.
std::expected<void, QString> loadSchemeFile(const QString &path, Workspace &workspace);

} // namespace numsieve
