// A scheme file as players swap them: read from disk, validated, applied.
// Invariants: a refused file leaves the workspace exactly as it was (but for
// the late shown-panel refusal, which the loader keeps on purpose); an
// accepted one applies completely, and the scheme written from the result
// validates again and reproduces the same state in a fresh workspace.

#include "FuzzSupport.h"

#include "Messages.h"
#include "Workspace.h"
#include "scheme/SchemeFile.h"

namespace {

using namespace numsieve;

// Everything a scheme load can touch, including what the scheme text itself
// does not carry (the switches, the marked button, the compiled expressions).
QString fingerprint(const Workspace &w)
{
    QString state = buildSchemeText(w);
    state += QStringLiteral("|%1|%2|%3|%4|%5|")
                 .arg(w.toleranceIndex)
                 .arg(w.currentConditionButton)
                 .arg(w.markedCondition)
                 .arg(w.shownConditionPanel)
                 .arg(int(w.tables.viewMode()));
    for (bool on : w.enabled)
        state += on ? QLatin1Char('1') : QLatin1Char('0');
    const AdvancedConditionState &a = w.conditions.advanced;
    state += QStringLiteral("|%1|%2,%3,%4|").arg(a.expression).arg(a.selectors[0]).arg(a.selectors[1]).arg(a.selectors[2]);
    return state;
}

// A workspace with work in it, so that a partial load would show.
Workspace edited()
{
    Workspace w;
    w.chooseSelectionPanel(2);
    w.toleranceIndex = 3;
    w.addAllEntries(2, 0);
    w.setTolerable(2, true);
    w.setNumberField(NumberField::OmissionFrom, QStringLiteral("2"));
    w.setRangeCombo(1, 4);
    w.setAdvancedConditionText(QStringLiteral("s[0]>1;\r\n"));
    w.conditions.advanced.expression = QStringLiteral("hz[0]>");
    w.clickConditionButton(7);
    return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzzsupport::ensureApplication();
    const QString path = fuzzsupport::scratchFile(QStringLiteral("fuzz.cnd"));
    if (!fuzzsupport::writeFile(path, fuzzsupport::bytesOf(data, size)))
        return 0;

    Workspace loaded = edited();
    const QString before = fingerprint(loaded);
    const auto load = loadSchemeFile(path, loaded);
    const auto text = readSchemeFile(path);
    if (!load) {
        FUZZ_CHECK(!load.error().isEmpty());
        if (text && validateSchemeText(*text)) {
            // The one late refusal the loader keeps on purpose: the shown-panel
            // line is checked after everything else was applied, and then no
            // condition button is marked.
            FUZZ_CHECK(load.error() == msg::kBadFormat);
            FUZZ_CHECK(loaded.markedCondition == 0);
        } else {
            FUZZ_CHECK(fingerprint(loaded) == before);
        }
        return 0;
    }
    FUZZ_CHECK(text.has_value());
    FUZZ_CHECK(validateSchemeText(*text).has_value());

    // The whole state came from the file: the prior work does not shine through.
    Workspace fresh;
    FUZZ_CHECK(applySchemeText(*text, fresh).has_value());
    FUZZ_CHECK(fingerprint(fresh) == fingerprint(loaded));

    // Saving and loading again changes nothing.
    const QString rebuilt = buildSchemeText(loaded);
    FUZZ_CHECK(validateSchemeText(rebuilt).has_value());
    Workspace again;
    FUZZ_CHECK(applySchemeText(rebuilt, again).has_value());
    FUZZ_CHECK(fingerprint(again) == fingerprint(loaded));
    FUZZ_CHECK(buildSchemeText(again) == rebuilt);
    return 0;
}
