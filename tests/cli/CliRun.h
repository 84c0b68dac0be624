#pragma once

#include "TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

// What a finished program printed and how it ended; exit code -1 when it
// did not finish in time.
struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

inline Run run(const QString &program, const QStringList &args,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(300000))
        return {};
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

// The folder the filter and trend commands are tried on: 福彩3D (1), whose
// draws, oldest first, end with 555 and then 124, and 自选 (7) with the draws
// given.
inline bool writeCliDataFolder(const QString &data, const QByteArray &ownDraws)
{
    return DataFolderBuilder(data)
        .lottery("1", "福彩3D", "2026001$321\r\n2026002$555\r\n2026003$124\r\n")
        .lottery("7", "自选", ownDraws)
        .write();
}

} // namespace testsupport
