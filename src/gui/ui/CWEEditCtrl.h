#pragma once

#include <QColor>
#include <QLineEdit>

namespace numsieve::gui {

// A one-line edit box with a two-colour frame: a 1-px line in the frame
// colour and, inside it, a 1-px line of the background colour.
class CWEEditCtrl : public QLineEdit
{
    Q_OBJECT

public:
    explicit CWEEditCtrl(QWidget *parent = nullptr);

    void setBackgroundColour(const QColor &colour);
    QColor backgroundColour() const { return m_background; }
    void setFrameColour(const QColor &colour);
    QColor frameColour() const { return m_frame; }

private:
    void restyle();

    QColor m_background{255, 255, 255};
    QColor m_frame{113, 161, 233};
};

} // namespace numsieve::gui
