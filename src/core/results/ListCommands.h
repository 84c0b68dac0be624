#pragma once

#include "core/results/ResultTables.h"

#include <QString>

#include <span>

namespace numsieve {

// The 24 save and print commands of the two result menus: each writes one list
// kind at one stage, or says that there is nothing to write.
struct ListCommand {
    int id;
    bool print;
    ListKind kind;
    ResultStage stage;
    QString menuText;      // "保存  直选  选号号码"
    QString emptyMessage;  // 没有可保存的"选号"号码
};

std::span<const ListCommand> listCommands();
const ListCommand *findListCommand(int id);

// The commands offered by one of the four result menus: saving or printing,
// of the straight list or of the group lists.
QList<const ListCommand *> listMenu(bool print, ViewMode mode);

} // namespace numsieve
