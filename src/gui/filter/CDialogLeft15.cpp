#include "gui/filter/CDialogLeft15.h"

#include "core/Workspace.h"
#include "core/script/EditorTokens.h"
#include "gui/ui/CButtonEx.h"
#include "gui/ui/CComboBoxFlat.h"
#include "gui/ui/CEditFlat.h"
#include "gui/ui/DialogUnits.h"
#include "gui/ui/SkinImages.h"

#include <QTextCursor>

#include <cmath>

namespace numsieve::gui {

namespace {

PanelSpec advancedPanelSpec()
{
    PanelSpec spec;
    spec.number = 15;
    spec.captions = {{1039, QStringLiteral("高级条件"), {6, 7}}};
    spec.pairTops = {15};
    return spec;
}

// The raised look of the move buttons, without text, stretched to a button
// of any size; the caption is drawn by the button itself.
QPixmap stretched(const QPixmap &picture, QSize size)
{
    const qreal ratio = picture.devicePixelRatio();
    QPixmap out = picture.scaled((QSizeF(size) * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.setDevicePixelRatio(ratio);
    return out;
}

CButtonEx *editorButton(const QString &caption, const QRect &place, QWidget *parent)
{
    auto *button = new CButtonEx(caption, parent);
    const BitmapLooks looks = SkinImages::moveButton(QString());
    const QPixmap up = stretched(looks.up, place.size());
    button->setImages(up, up, stretched(looks.down, place.size()));
    button->setTextColourEnabled(false);
    QPalette palette = button->palette();
    palette.setColor(QPalette::ButtonText, QColor(SkinColour::captionText));
    button->setPalette(palette);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(place);
    return button;
}

// Token rows: 1061..1073, 1074..1080, 1081..1087 (重写 ends the last row),
// spread evenly over the width of the edit boxes.
QRect tokenPlace(int id)
{
    const int row = id <= 1073 ? 0 : id <= 1080 ? 1 : 2;
    const int first = row == 0 ? 1061 : row == 1 ? 1074 : 1081;
    const int count = row == 0 ? 13 : 7;
    const int left = dluToPixelsX(7);
    const int span = dluToPixelsX(254);
    const int width = row == 0 ? 27 : 51;
    const double step = double(span - width) / (count - 1);
    const int tops[3] = {39, 54, 69};
    return {left + int(std::lround((id - first) * step)), dluToPixelsY(tops[row]), width, dluToPixelsY(13)};
}

// The condition list keeps its lines ended by CR LF, as the scheme files
// store them; the edit box itself knows only line feeds.
QString conditionListText(const CEditFlat *box)
{
    return box->toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

} // namespace

QString CDialogLeft15::tokenCaption(int id)
{
    static const QStringList captions{
        QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),  QStringLiteral("4"),  QStringLiteral("5"),
        QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),  QStringLiteral("9"),  QStringLiteral("0"),
        QStringLiteral("."), QStringLiteral("("), QStringLiteral(")"),  QStringLiteral("+"),  QStringLiteral("-"),
        QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("%"),  QStringLiteral("||"), QStringLiteral("&&"),
        QStringLiteral(">"), QStringLiteral(">="), QStringLiteral("<"), QStringLiteral("<="), QStringLiteral("=="),
        QStringLiteral("!=")};
    const int k = id - kFirstTokenId;
    return k >= 0 && k < captions.size() ? captions.at(k) : QString();
}

CDialogLeft15::CDialogLeft15(Workspace &ws, MessageHandler &mainWindow, QWidget *parent)
    : ConditionPanel(ws, mainWindow, advancedPanelSpec(), parent)
{
    const QStringList *entries[3] = {&attributeItems(), &periodItems(), &positionItems()};
    const int lefts[3] = {7, 52, 98};
    for (int i = 0; i < 3; ++i) {
        auto *combo = new CComboBoxFlat(this);
        combo->addItems(*entries[i]);
        combo->setMaxVisibleItems(12);
        combo->setGeometry(QRect(dluToPixels(QPoint(lefts[i], 24)), QSize(dluToPixelsX(42), SkinImages::comboHeight)));
        addControl(1040 + i, combo);
        m_selectors[i] = combo;
        connect(combo, &QComboBox::currentIndexChanged, this, [this, i](int index) {
            if (isRefreshing() || index < 0)
                return;
            workspace().conditions.advanced.selectors[std::size_t(i)] = index;
            showSelectors();
        });
    }

    auto *addLeft = editorButton(QStringLiteral("添加左边"), dluToPixels(QRect(143, 24, 119, 13)), this);
    addControl(kAddLeftId, addLeft);
    connect(addLeft, &QAbstractButton::clicked, this, [this] {
        const auto &s = workspace().conditions.advanced.selectors;
        append(referenceText(s[0], s[1], s[2]));
    });

    for (int id = kFirstTokenId; id <= kLastTokenId; ++id) {
        auto *button = editorButton(tokenCaption(id), tokenPlace(id), this);
        addControl(id, button);
        connect(button, &QAbstractButton::clicked, this, [this, id] { append(tokenCaption(id)); });
    }
    auto *rewrite = editorButton(QStringLiteral("重写"), tokenPlace(kRewriteId), this);
    addControl(kRewriteId, rewrite);
    connect(rewrite, &QAbstractButton::clicked, this, [this] { setComposed(QString()); });

    m_composed = new CEditFlat(this);
    m_composed->setGeometry(dluToPixels(QRect(7, 84, 254, 48)));
    addControl(kComposedId, m_composed);
    connect(m_composed, &QPlainTextEdit::textChanged, this, [this] {
        if (!isRefreshing())
            workspace().conditions.advanced.expression = m_composed->toPlainText();
    });

    auto *add = editorButton(QStringLiteral("添加"), dluToPixels(QRect(113, 136, 43, 13)), this);
    addControl(kAddId, add);
    // The main window trial-runs the expression and appends it; the panel
    // then shows whatever it made of the two texts.
    connect(add, &QAbstractButton::clicked, this, [this] {
        this->mainWindow().sendMessage(WM_ADD_ADVANCED_CONDITION, conditionNumber());
        refresh();
    });

    m_conditionList = new CEditFlat(this);
    m_conditionList->setGeometry(dluToPixels(QRect(7, 153, 254, 75)));
    addControl(kConditionListId, m_conditionList);
    connect(m_conditionList, &QPlainTextEdit::textChanged, this, [this] {
        if (isRefreshing())
            return;
        const QString text = conditionListText(m_conditionList);
        withSwitch([&] { workspace().setAdvancedConditionText(text); });
    });

    CDialogLeft15::refresh();
}

void CDialogLeft15::append(const QString &token)
{
    setComposed(appendToken(workspace().conditions.advanced.expression, token));
}

void CDialogLeft15::setComposed(const QString &text)
{
    workspace().conditions.advanced.expression = text;
    RefreshGuard guard(*this);
    if (m_composed->toPlainText() != text)
        m_composed->setPlainText(text);
    m_composed->moveCursor(QTextCursor::End);
}

void CDialogLeft15::showSelectors()
{
    const auto &s = workspace().conditions.advanced.selectors;
    RefreshGuard guard(*this);
    for (int i = 0; i < 3; ++i)
        m_selectors[i]->setCurrentIndex(s[std::size_t(i)]);
    // Only a number has digit positions.
    m_selectors[2]->setEnabled(s[0] == 0);
}

void CDialogLeft15::refresh()
{
    ConditionPanel::refresh();
    RefreshGuard guard(*this);
    const auto &advanced = workspace().conditions.advanced;
    if (m_composed->toPlainText() != advanced.expression)
        m_composed->setPlainText(advanced.expression);
    if (conditionListText(m_conditionList) != advanced.conditionText)
        m_conditionList->setPlainText(advanced.conditionText);
    showSelectors();
}

} // namespace numsieve::gui
