// A scheme file as players swap them: read from disk, validated, applied.
// Invariants: a refused file leaves the workspace exactly as it was; an
// accepted one applies completely, and the scheme written from the result
// validates again and reproduces the same state in a fresh workspace.

#include "FuzzSupport.h"
#include "../core/WorkspaceFingerprint.h"

#include "core/Workspace.h"
#include "core/scheme/SchemeFile.h"

namespace {

using namespace numsieve;

using testsupport::workspaceFingerprint;

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
    // Made once: every input starts from copies of the same two workspaces.
    static const Workspace kEdited = edited();
    static const QString kEditedFingerprint = workspaceFingerprint(kEdited);
    static const Workspace kBlank;

    Workspace loaded = kEdited;
    const auto load = loadSchemeFile(path, loaded);
    const QString after = workspaceFingerprint(loaded);
    if (!load) {
        FUZZ_CHECK(!load.error().isEmpty());
        FUZZ_CHECK(after == kEditedFingerprint);
        return 0;
    }
    const auto text = readSchemeFile(path);
    FUZZ_CHECK(text.has_value());
    FUZZ_CHECK(validateSchemeText(*text).has_value());

    // The whole state came from the file: the prior work does not shine through.
    Workspace fresh = kBlank;
    FUZZ_CHECK(applySchemeText(*text, fresh).has_value());
    FUZZ_CHECK(workspaceFingerprint(fresh) == after);

    // Saving and loading again changes nothing.
    const QString rebuilt = buildSchemeText(loaded);
    FUZZ_CHECK(validateSchemeText(rebuilt).has_value());
    Workspace again = kBlank;
    FUZZ_CHECK(applySchemeText(rebuilt, again).has_value());
    FUZZ_CHECK(workspaceFingerprint(again) == after);
    FUZZ_CHECK(buildSchemeText(again) == rebuilt);
    return 0;
}
