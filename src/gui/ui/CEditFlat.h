#pragma once

#include <QPlainTextEdit>

namespace numsieve::gui {

// A multi-line edit box with the flat frame.
class CEditFlat : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit CEditFlat(QWidget *parent = nullptr);
};

} // namespace numsieve::gui
