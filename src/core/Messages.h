#pragma once

#include <QString>

// The system's own message texts, byte for byte, in one place.
namespace numsieve::msg {

inline const QString kCaption = QStringLiteral("提示");
inline const QString kFileMissing = QStringLiteral("文件不存在");
inline const QString kBadFormat = QStringLiteral("文件格式不正确，无法导入");
inline const QString kNotNumeric = QStringLiteral("号码不是数字，无法导入");
inline const QString kTooManyBankers = QStringLiteral("胆码不能多于两个");
inline const QString kBaseCountLabel = QStringLiteral("大底共%1注号码");
inline const QString kExpressionIncomplete = QStringLiteral("条件不完整或格式错误，请检查并修改");
inline const QString kAdvancedIncomplete = QStringLiteral("高级条件不完整或格式错误，无法进行过滤，请先检查并修改条件");

} // namespace numsieve::msg
