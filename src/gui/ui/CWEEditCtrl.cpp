#include "gui/ui/CWEEditCtrl.h"

#include "gui/ui/FlatFrame.h"
#include "gui/ui/SkinFont.h"

namespace numsieve::gui {

CWEEditCtrl::CWEEditCtrl(QWidget *parent)
    : QLineEdit(parent)
{
    setFont(skinFont());
    restyle();
}

void CWEEditCtrl::setBackgroundColour(const QColor &colour)
{
    m_background = colour;
    restyle();
}

void CWEEditCtrl::setFrameColour(const QColor &colour)
{
    m_frame = colour;
    restyle();
}

void CWEEditCtrl::restyle()
{
    setStyleSheet(flatFrameStyleSheet(QStringLiteral("QLineEdit"), m_frame, m_background));
}

} // namespace numsieve::gui
