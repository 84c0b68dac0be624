#include "gui/filter/CDialogLeft1.h"

#include "core/Workspace.h"
#include "gui/ui/CLineEditFlat.h"
#include "gui/ui/DialogUnits.h"

#include <QLabel>

namespace numsieve::gui {

namespace {

PanelSpec numberPanelSpec()
{
    PanelSpec spec;
    spec.number = 1;
    spec.captions = {{1018, QStringLiteral("遗    漏"), {6, 7}},
                     {1019, QStringLiteral("历    史"), {6, 23}},
                     {1020, QStringLiteral("直选双码"), {6, 39}},
                     {1028, QStringLiteral("组选双码"), {6, 136}}};
    spec.lists = {{{6, 58, 102, 73}, {164, 58, 102, 73}, 112, 64},
                  {{6, 155, 102, 73}, {164, 155, 102, 73}, 112, 161}};
    spec.pairTops = {15, 41, 67, 225};
    // Below the omission texts, which reach to the right edge.
    spec.checkBoxTop = 66;
    spec.shapePair = 2;
    return spec;
}

constexpr int kMaxDigits = 8;

} // namespace

CDialogLeft1::CDialogLeft1(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, numberPanelSpec(), parent)
{
    const struct {
        QString text;
        QPoint place;
    } labels[] = {{QStringLiteral("号码遗漏在"), {130, 10}}, {QStringLiteral("到"), {201, 10}},
                  {QStringLiteral("期之间"), {240, 10}},     {QStringLiteral("最近"), {130, 26}},
                  {QStringLiteral("期开奖号码"), {176, 26}}};
    for (const auto &l : labels) {
        auto *label = new QLabel(l.text, this);
        label->move(dluToPixels(l.place));
        label->adjustSize();
    }

    const QPoint editPlaces[3] = {{174, 8}, {213, 8}, {149, 24}};
    for (int i = 0; i < 3; ++i) {
        auto *edit = new CLineEditFlat(kMaxDigits, this);
        edit->setGeometry(dluToPixels(QRect(editPlaces[i], QSize(23, 13))));
        addControl(1021 + i, edit);
        m_edits[i] = edit;
        const auto field = NumberField(i);
        connect(edit, &QLineEdit::textChanged, this, [this, field](const QString &text) {
            if (isRefreshing())
                return;
            withSwitch([&] { workspace().setNumberField(field, text); });
        });
    }
    CDialogLeft1::refresh();
}

void CDialogLeft1::refresh()
{
    ConditionPanel::refresh();
    RefreshGuard guard(*this);
    for (int i = 0; i < 3; ++i) {
        const QString &text = workspace().conditions.number.field(NumberField(i));
        if (m_edits[i]->text() != text)
            m_edits[i]->setText(text);
    }
}

} // namespace numsieve::gui
