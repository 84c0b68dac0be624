#include "core/scheme/SchemeFile.h"

#include "core/Messages.h"
#include "core/Workspace.h"
#include "core/text/TextFile.h"

#include <QFileInfo>

#include <algorithm>

namespace numsieve {

namespace {

const QString kMarker = QStringLiteral("Advanced");

// One of the lines 15 to 103, bound to the member of a condition set it stands for.
struct ConditionField {
    enum Kind { Tolerable, Mode, ListModeOf, Edit, Available, Chosen, Range };
    Kind kind;
    int panel;
    void *target;

    bool &flag() const { return *static_cast<bool *>(target); }
    ListMode &mode() const { return *static_cast<ListMode *>(target); }
    QString &edit() const { return *static_cast<QString *>(target); }
    ListCondition &list() const { return *static_cast<ListCondition *>(target); }
    std::array<int, 4> &range() const { return *static_cast<std::array<int, 4> *>(target); }
};

// The condition lines in file order.
QList<ConditionField> conditionFields(ConditionSet &c)
{
    QList<ConditionField> f;
    auto add = [&](ConditionField::Kind kind, int panel, void *target) { f.append({kind, panel, target}); };
    auto lists = [&](int panel, ListCondition &l) {
        add(ConditionField::ListModeOf, panel, &l);
        add(ConditionField::Available, panel, &l);
        add(ConditionField::Chosen, panel, &l);
    };

    add(ConditionField::Tolerable, 1, &c.tolerable[1]);
    add(ConditionField::Mode, 1, &c.number.omissionMode);
    add(ConditionField::Edit, 1, &c.number.omissionFrom);
    add(ConditionField::Edit, 1, &c.number.omissionTo);
    add(ConditionField::Mode, 1, &c.number.historyMode);
    add(ConditionField::Edit, 1, &c.number.historyDepth);
    lists(1, c.number.straightPairs);
    lists(1, c.number.groupPairs);
    for (int panel = 2; panel <= 14; ++panel) {
        add(ConditionField::Tolerable, panel, &c.tolerable[panel]);
        for (ListCondition *l : c.lists(panel))
            lists(panel, *l);
        if (panel == 6) {
            add(ConditionField::Mode, 6, &c.bigSmall.rangeMode);
            add(ConditionField::Range, 6, &c.bigSmall.range);
        }
    }
    add(ConditionField::Tolerable, 15, &c.tolerable[15]);
    add(ConditionField::Mode, 15, &c.advanced.mode);
    return f;
}

bool isDigits(const QString &s)
{
    return !s.isEmpty() && std::ranges::all_of(s, [](QChar ch) { return ch >= u'0' && ch <= u'9'; });
}

// The decimal value of a digit text, saturated so that a long run of digits
// cannot overflow ("01" counts as 1).
qint64 valueOf(const QString &digits)
{
    qint64 v = 0;
    for (QChar ch : digits)
        v = std::min<qint64>(v * 10 + (ch.unicode() - u'0'), qint64(1) << 40);
    return v;
}

bool isDigitRow(const QString &s)
{
    return s.size() == 10 && std::ranges::all_of(s, [](QChar ch) { return ch == u'0' || ch == u'1'; });
}

// Every text followed by "|" is an entry; what follows the last "|" is ignored.
QStringList itemEntries(const QString &line)
{
    QStringList entries = line.split(QLatin1Char('|'));
    entries.removeLast();
    return entries;
}

QString itemLine(const QStringList &entries)
{
    qsizetype size = 0;
    for (const QString &e : entries)
        size += e.size() + 1;
    QString line;
    line.reserve(size);
    for (const QString &e : entries) {
        line += e;
        line += QLatin1Char('|');
    }
    return line;
}

bool isSingleDigit(const QString &s) { return s.size() == 1 && isDigits(s); }

bool isEditLine(const QString &s) { return s == QLatin1String("-1") || (isDigits(s) && s.size() <= 8); }

bool isVocabularyLine(const QString &line, const QStringList &vocab)
{
    const QStringList entries = itemEntries(line);
    return std::ranges::all_of(entries, [&](const QString &e) { return vocab.contains(e); });
}

bool isBaseListLine(const QString &line)
{
    const QStringList entries = itemEntries(line);
    return std::ranges::all_of(entries, [](const QString &e) { return isDigits(e); });
}

bool isConditionLineValid(const ConditionField &field, const QString &line)
{
    switch (field.kind) {
    case ConditionField::Tolerable:
    case ConditionField::Mode:
    case ConditionField::ListModeOf: return isSingleDigit(line);
    case ConditionField::Edit: return isEditLine(line);
    case ConditionField::Available:
    case ConditionField::Chosen: return isVocabularyLine(line, field.list().vocabulary());
    case ConditionField::Range: return line.size() == 4 && isDigits(line);
    }
    return false;
}

DigitRow digitRowOf(const QString &line)
{
    DigitRow row;
    for (int d = 0; d < 10; ++d)
        row.setSelected(d, line.at(d) == u'1');
    return row;
}

ListMode modeOf(const QString &line) { return line == QLatin1String("0") ? ListMode::Exclude : ListMode::Include; }
QString modeLine(ListMode mode) { return mode == ListMode::Include ? QStringLiteral("1") : QStringLiteral("0"); }

struct SchemeLines {
    QStringList state;      // lines 1 to 103
    QString advancedText;   // every line after the marker, each followed by CR LF
};

std::expected<SchemeLines, QString> splitScheme(const QString &text)
{
    const auto bad = std::unexpected(msg::kBadFormat);
    if (!text.contains(QLatin1Char('\n')))
        return bad;
    SchemeLines out;
    bool marker = false;
    int number = 0;
    qsizetype start = 0;
    for (qsizetype end = text.indexOf(QLatin1Char('\n')); end >= 0; end = text.indexOf(QLatin1Char('\n'), start)) {
        const QString line = text.mid(start, end - start);
        start = end + 1;
        ++number;
        if (marker) {
            out.advancedText += line + QLatin1String("\r\n");
        } else if (line.compare(kMarker, Qt::CaseInsensitive) == 0) {
            if (number != kSchemeStateLines + 1)
                return bad;
            marker = true;
        } else {
            out.state.append(line);
        }
    }
    if (!marker)
        return bad;
    return out;
}

// The selection lines in the order they are checked: 1, 3, 4, 5, 2, 7..12, 13, 14.
bool selectionLinesValid(const QStringList &s)
{
    auto line = [&](int n) -> const QString & { return s.at(n - 1); };
    if (!isDigits(line(1)) || !isDigits(line(3)))
        return false;
    for (int n : {4, 5})
        if (!isDigits(line(n)) || (valueOf(line(n)) != 1 && valueOf(line(n)) != 2))
            return false;
    if (!isDigits(line(2)) || valueOf(line(2)) < 1 || valueOf(line(2)) > 4)
        return false;
    for (int n = 7; n <= 12; ++n)
        if (!isDigitRow(line(n)))
            return false;
    if (line(11).count(QLatin1Char('1')) > 2)
        return false;
    return isBaseListLine(line(13)) && isBaseListLine(line(14));
}

bool conditionLinesValid(const QStringList &s)
{
    ConditionSet scratch;
    const QList<ConditionField> fields = conditionFields(scratch);
    for (int i = 0; i < fields.size(); ++i)
        if (!isConditionLineValid(fields.at(i), s.at(14 + i)))
            return false;
    return true;
}

} // namespace

QString buildSchemeText(const Workspace &w)
{
    QStringList lines;
    const SelectionState &sel = w.selection;
    lines << QString::number(std::max(0, w.toleranceIndex)) << QString::number(sel.activePanel())
          << QString::number(int(w.tables.viewMode())) << QString::number(int(sel.bankerType))
          << QString::number(int(sel.baseType)) << QString::number(w.currentConditionButton % kConditionCount)
          << sel.hundreds.toText() << sel.tens.toText() << sel.units.toText() << sel.groupDigits.toText()
          << sel.banker().toText() << sel.drag.toText() << itemLine(sel.baseList(SelectionType::Straight))
          << itemLine(sel.baseList(SelectionType::Group));

    ConditionSet conditions = w.conditions;
    for (const ConditionField &f : conditionFields(conditions)) {
        switch (f.kind) {
        case ConditionField::Tolerable: lines << (f.flag() ? QStringLiteral("1") : QStringLiteral("0")); break;
        case ConditionField::Mode: lines << modeLine(f.mode()); break;
        case ConditionField::ListModeOf: lines << modeLine(f.list().mode()); break;
        case ConditionField::Edit: lines << (f.edit().isEmpty() ? QStringLiteral("-1") : f.edit()); break;
        case ConditionField::Available: lines << itemLine(f.list().available()); break;
        case ConditionField::Chosen: lines << itemLine(f.list().chosen()); break;
        case ConditionField::Range: {
            QString digits;
            for (int v : f.range())
                digits += QString::number(v);
            lines << digits;
            break;
        }
        }
    }
    lines << kMarker;

    QString advanced = w.conditions.advanced.conditionText;
    advanced.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    advanced.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n') + advanced;
}

std::expected<void, QString> validateSchemeText(const QString &text)
{
    const auto lines = splitScheme(text);
    if (!lines)
        return std::unexpected(lines.error());
    if (!selectionLinesValid(lines->state) || !conditionLinesValid(lines->state))
        return std::unexpected(msg::kBadFormat);
    return {};
}

namespace {

// Applies the lines in the order the user's clicks would, checking each line
// again; stops at the first one refused, with w partly changed.
std::expected<void, QString> applySchemeLines(const SchemeLines &split, Workspace &w)
{
    const auto bad = std::unexpected(msg::kBadFormat);
    const QStringList &s = split.state;
    if (!selectionLinesValid(s))
        return bad;
    auto line = [&](int n) -> const QString & { return s.at(n - 1); };

    const qint64 tolerance = valueOf(line(1));
    w.toleranceIndex = tolerance <= 10 ? int(tolerance) : -1;   // beyond the last entry nothing is selected
    w.tables.setViewMode(viewModeFromValue(int(std::min<qint64>(valueOf(line(3)), 2))));
    SelectionState &sel = w.selection;
    sel.bankerType = SelectionType(valueOf(line(4)));
    sel.baseType = SelectionType(valueOf(line(5)));
    w.chooseSelectionPanel(int(valueOf(line(2))));
    sel.hundreds = digitRowOf(line(7));
    sel.tens = digitRowOf(line(8));
    sel.units = digitRowOf(line(9));
    sel.groupDigits = digitRowOf(line(10));
    if (!sel.setBanker(digitRowOf(line(11))))
        return bad;
    sel.drag = digitRowOf(line(12));
    sel.baseList(SelectionType::Straight) = itemEntries(line(13));
    sel.baseList(SelectionType::Group) = itemEntries(line(14));

    const QList<ConditionField> fields = conditionFields(w.conditions);
    for (int i = 0; i < fields.size(); ++i) {
        const ConditionField &f = fields.at(i);
        const QString &value = s.at(14 + i);
        if (!isConditionLineValid(f, value))
            return bad;
        switch (f.kind) {
        case ConditionField::Tolerable: f.flag() = value != QLatin1String("0"); break;
        case ConditionField::Mode: f.mode() = modeOf(value); break;
        case ConditionField::ListModeOf: f.list().setMode(modeOf(value)); break;
        case ConditionField::Edit: f.edit() = value == QLatin1String("-1") ? QString() : value; break;
        case ConditionField::Available: f.list().setLists(itemEntries(value), f.list().chosen()); break;
        case ConditionField::Chosen: f.list().setLists(f.list().available(), itemEntries(value)); break;
        case ConditionField::Range:
            for (int k = 0; k < 4; ++k)
                f.range()[k] = value.at(k).unicode() - u'0';
            break;
        }
        const bool lastOfPanel = i + 1 == fields.size() || fields.at(i + 1).panel != f.panel;
        if (lastOfPanel && f.panel != kConditionCount)
            w.updateConditionSwitch(f.panel);
    }
    // Condition 15 counts as having content whenever the loaded text is not empty.
    w.switchCondition(split.advancedText.isEmpty() ? 2 * kConditionCount : kConditionCount);
    w.conditions.advanced.expression.clear();
    w.conditions.advanced.conditionText = split.advancedText;

    w.markedCondition = 0;
    const QString &shown = line(6);
    if (!isDigits(shown) || valueOf(shown) > 14)
        return bad;
    const int panel = valueOf(shown) == 0 ? kConditionCount : int(valueOf(shown));
    w.shownConditionPanel = panel;
    w.currentConditionButton = w.enabled[panel] ? panel + kConditionCount : panel;
    w.markedCondition = panel;
    return {};
}

} // namespace

std::expected<void, QString> applySchemeText(const QString &text, Workspace &w)
{
    const auto split = splitScheme(text);
    if (!split)
        return std::unexpected(split.error());
    // Worked on a copy, so that a line refused late (the shown panel is the
    // last one checked) leaves the workspace as it was.
    Workspace next = w;
    if (auto applied = applySchemeLines(*split, next); !applied)
        return applied;
    w = std::move(next);
    return {};
}

std::expected<QString, QString> readSchemeFile(const QString &path)
{
    if (path.isEmpty() || !QFileInfo::exists(path))
        return std::unexpected(msg::kFileMissing);
    const auto lines = readTextLines(path);
    if (!lines)
        return std::unexpected(lines.error());
    qsizetype size = 0;
    for (const QString &l : *lines)
        size += l.size() + 1;
    QString text;
    text.reserve(size);
    for (const QString &l : *lines) {
        text += l;
        text += QLatin1Char('\n');
    }
    return text;
}

std::expected<void, QString> writeSchemeFile(const QString &path, const QString &text)
{
    return saveFileAtomically(path, encodeText(text));
}

std::expected<void, QString> loadSchemeFile(const QString &path, Workspace &workspace)
{
    const auto text = readSchemeFile(path);
    if (!text)
        return std::unexpected(text.error());
    if (auto valid = validateSchemeText(*text); !valid)
        return valid;
    return applySchemeText(*text, workspace);
}

} // namespace numsieve
