#include "gui/filter/CDialogLeft6.h"

#include "core/Workspace.h"
#include "gui/ui/CComboBoxFlat.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>

namespace numsieve::gui {

namespace {

PanelSpec bigSmallPanelSpec()
{
    PanelSpec spec;
    spec.number = 6;
    spec.captions = {{1044, QStringLiteral("大小形态"), {6, 7}},
                     {1045, QStringLiteral("大小比"), {6, 102}},
                     {1020, QStringLiteral("最大最小号"), {6, 198}}};
    spec.lists = {{{6, 24, 102, 74}, {164, 24, 102, 74}, 112, 31},
                  {{6, 120, 102, 74}, {164, 120, 102, 74}, 112, 126}};
    spec.pairTops = {15, 170, 326};
    spec.shapePair = 0;
    return spec;
}

} // namespace

CDialogLeft6::CDialogLeft6(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, bigSmallPanelSpec(), parent)
{
    const struct {
        QString text;
        QPoint place;
    } labels[] = {{QStringLiteral("最小号"), {7, 219}}, {QStringLiteral("到"), {58, 219}},
                  {QStringLiteral("最大号"), {104, 219}}, {QStringLiteral("到"), {155, 219}}};
    for (const auto &l : labels) {
        auto *label = new QLabel(l.text, this);
        label->move(dluToPixels(l.place));
        label->adjustSize();
    }

    QStringList digits;
    for (int d = 0; d <= 9; ++d)
        digits.append(QString::number(d));
    const int lefts[4] = {32, 68, 129, 165};
    for (int i = 0; i < 4; ++i) {
        auto *combo = new CComboBoxFlat(this);
        combo->addItems(digits);
        combo->setGeometry(QRect(dluToPixels(QPoint(lefts[i], 216)), QSize(dluToPixelsX(24), SkinImages::comboHeight)));
        addControl(1040 + i, combo);
        m_combos[i] = combo;
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (isRefreshing() || index < 0)
                return;
            withSwitch([&] { workspace().setRangeCombo(i, index); });
        });
    }
    CDialogLeft6::refresh();
}

void CDialogLeft6::refresh()
{
    ConditionPanel::refresh();
    RefreshGuard guard(*this);
    for (int i = 0; i < 4; ++i)
        m_combos[i]->setCurrentIndex(workspace().conditions.bigSmall.range[std::size_t(i)]);
}

} // namespace numsieve::gui
