// Time of the table reader on texts of the largest file size (64 MB): a web
// page's table of 1.3 million draws, and the same bytes as one line with no
// line end, which must take no longer than linear time either.
//
//   build/bin/bench_table

#include "history/TableReader.h"
#include "text/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace numsieve;

namespace {

QByteArray webTable()
{
    QByteArray bytes = "期号\t开奖日期\t开奖号码\t试机号\t销售额\r\n";
    for (qint64 i = 0; bytes.size() < kMaxFileBytes - 64; ++i)
        bytes += QByteArray::number(2000000 + i) + "\t2024-01-01\t" + QByteArray::number(i % 10) + ' '
                 + QByteArray::number(i / 10 % 10) + ' ' + QByteArray::number(i / 100 % 10) + "\t123\t12,345,678\r\n";
    return bytes;
}

void measure(const char *name, const QByteArray &bytes)
{
    QElapsedTimer timer;
    timer.start();
    const auto reading = readTable(bytes);
    std::printf("%-22s %6.1f MB  %8lld draws  %6.2f s\n", name, double(bytes.size()) / (1024 * 1024),
                reading ? (long long)reading->rows.size() : -1LL, double(timer.elapsed()) / 1000);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QByteArray table = webTable();
    measure("web table", table);
    measure("web table, a quarter", table.first(table.size() / 4));
    QByteArray oneLine = table;
    oneLine.replace("\r\n", "  ");
    measure("one line", oneLine);
    measure("one line, a quarter", oneLine.first(oneLine.size() / 4));
    return 0;
}
