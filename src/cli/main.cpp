#include <QCoreApplication>
#include <QTextStream>

namespace {

const char kHelp[] =
    "numsieve-cli: 三位筛号器命令行工具 / NumSieve command-line tool\n"
    "\n"
    "用法 / Usage:\n"
    "  numsieve-cli --help    显示本说明 / show this help\n";

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    out << QString::fromUtf8(kHelp);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty() || args.first() == QLatin1String("--help") || args.first() == QLatin1String("-h"))
        return 0;
    return 2;
}
