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
inline const QString kAdvancedTimeout = QStringLiteral("高级条件运行时间过长，已停止，请检查并修改条件");
inline const QString kAdvancedTooMany = QStringLiteral("高级条件过多（最多1000条，不超过1MB），请删减后再过滤");
inline const QString kExpressionTooMany = QStringLiteral("高级条件过多（最多1000条，不超过1MB），不能再添加");
inline const QString kAdvancedAborted = QStringLiteral("高级条件运行占用内存过多或意外中止，已停止，请检查并修改条件");
inline const QString kScriptWorkerMissing = QStringLiteral("找不到高级条件的运行程序，无法运行高级条件，请重新安装本软件");

// Where a lottery without draws gets them; said wherever draws are missing.
inline const QString kHowToGetDraws = QStringLiteral(
    "请点“彩种管理”，输入或导入开奖号码；有人发布开奖号码时，在数据文件夹的 online.data 中加入一行 analysis$主机名，"
    "再在彩种管理中点“更新号码”下载。");
// A filter result whose draws have changed since it was computed.
inline const QString kResultOutdated = QStringLiteral("开奖号码已更新，结果需要重新过滤");

} // namespace numsieve::msg
