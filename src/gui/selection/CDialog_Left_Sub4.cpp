#include "gui/selection/CDialog_Left_Sub4.h"

#include "core/Workspace.h"
#include "gui/app/AppServices.h"
#include "gui/selection/CSelectionTypePair.h"
#include "gui/ui/CBitmapButtonEx.h"
#include "gui/ui/SkinImages.h"

#include <QLabel>

namespace numsieve::gui {

const QString CDialog_Left_Sub4::kFormatText =
    QStringLiteral("大底文件每行一注号码，三位数字可以连写，也可以用空格、“,”、“-”或“+”隔开；"
                   "重复的号码只保留一注。");
const QString CDialog_Left_Sub4::kExampleText = QStringLiteral("例如：123 | 1 2 3 | 1,2,3 | 1-2-3 | 1+2+3");

CDialog_Left_Sub4::CDialog_Left_Sub4(Workspace &ws, MessageHandler &leftPanel, AppServices &services,
                                     QWidget *parent)
    : CSelectionPanel(parent)
    , m_ws(ws)
    , m_leftPanel(leftPanel)
    , m_services(services)
{
    setObjectName(QStringLiteral("CDialog_Left_Sub4"));
    m_type = new CSelectionTypePair(this);
    m_type->move(10, 14);
    connect(m_type, &CSelectionTypePair::typeClicked, this, &CDialog_Left_Sub4::chooseType);

    const QString open = QStringLiteral("打开文件");
    m_open = new CBitmapButtonEx(this);
    m_open->setImages(SkinImages::moveButton(open));
    m_open->setText(open);
    m_open->setAccessibleName(open);
    m_open->move(150, 10);
    connect(m_open, &QAbstractButton::clicked, this, &CDialog_Left_Sub4::openFile);

    m_count = addLabel(QString(), QPoint(238, 10));
    m_count->setFixedSize(156, SkinImages::moveButtonSize.height());
    m_count->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_format = addLabel(kFormatText, QPoint(10, 42));
    m_format->setWordWrap(true);
    m_format->setFixedWidth(kSize.width() - 20);
    m_format->adjustSize();
    m_example = addLabel(kExampleText, QPoint(10, 80));
    refresh();
}

void CDialog_Left_Sub4::refresh()
{
    m_type->showType(m_ws.selection.baseType);
    m_count->setText(m_ws.selection.baseLabel());
}

void CDialog_Left_Sub4::openFile()
{
    // A cancelled dialog keeps the list that was there: the user only looked.
    const QString path = m_services.openFileName(this, QString());
    if (path.isEmpty())
        return;
    const auto imported = m_ws.selection.importBaseFile(path);
    m_count->setText(m_ws.selection.baseLabel());
    if (!imported)
        m_services.warn(this, imported.error());
}

void CDialog_Left_Sub4::chooseType(SelectionType type)
{
    m_ws.selection.baseType = type;
    refresh();
    m_leftPanel.sendMessage(type == SelectionType::Straight ? WM_SUBPANEL_STRAIGHT : WM_SUBPANEL_GROUP);
}

} // namespace numsieve::gui
