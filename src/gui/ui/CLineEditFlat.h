#pragma once

#include <QLineEdit>

namespace numsieve::gui {

// A one-line edit box with the flat frame that takes digits only, up to
// maxLength of them (the omission and history fields of the first panel).
class CLineEditFlat : public QLineEdit
{
    Q_OBJECT

public:
    explicit CLineEditFlat(int maxLength, QWidget *parent = nullptr);
};

} // namespace numsieve::gui
