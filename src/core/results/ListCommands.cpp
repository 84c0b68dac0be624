#include "core/results/ListCommands.h"

#include <QList>

#include <array>

namespace numsieve {

namespace {

std::array<ListCommand, 24> buildCommands()
{
    struct KindWord {
        ListKind kind;
        QString word;
        QString inMessage;   // the straight list's message names no kind
    };
    const KindWord kinds[] = {{ListKind::Straight, QStringLiteral("直选"), QString()},
                              {ListKind::GroupSix, QStringLiteral("组六"), QStringLiteral("组六")},
                              {ListKind::GroupThree, QStringLiteral("组三"), QStringLiteral("组三")},
                              {ListKind::Group, QStringLiteral("组选"), QStringLiteral("组选")}};
    const std::pair<ResultStage, QString> stages[] = {{ResultStage::Selected, QStringLiteral("选号")},
                                                      {ResultStage::Filtered, QStringLiteral("过滤")},
                                                      {ResultStage::Intersected, QStringLiteral("交集")}};
    std::array<ListCommand, 24> out;
    int i = 0;
    for (bool print : {false, true}) {
        const QString verb = print ? QStringLiteral("打印") : QStringLiteral("保存");
        int id = print ? 32805 : 32774;
        for (const KindWord &k : kinds) {
            for (const auto &[stage, word] : stages) {
                out[i++] = {id++,
                            print,
                            k.kind,
                            stage,
                            verb + QStringLiteral("  ") + k.word + QStringLiteral("  ") + word + QStringLiteral("号码"),
                            QStringLiteral("没有可") + verb + QStringLiteral("的") + k.inMessage + u'"' + word
                                + QStringLiteral("\"号码")};
            }
        }
    }
    return out;
}

} // namespace

std::span<const ListCommand> listCommands()
{
    static const std::array<ListCommand, 24> commands = buildCommands();
    return commands;
}

const ListCommand *findListCommand(int id)
{
    for (const ListCommand &c : listCommands())
        if (c.id == id)
            return &c;
    return nullptr;
}

QList<const ListCommand *> listMenu(bool print, ViewMode mode)
{
    QList<const ListCommand *> out;
    for (const ListCommand &c : listCommands())
        if (c.print == print && (c.kind == ListKind::Straight) == (mode == ViewMode::Straight))
            out.append(&c);
    return out;
}

} // namespace numsieve
