#pragma once

#include <QDialog>

namespace numsieve::gui {

// 关于: the program's mark, name and version on the skin of the other
// small windows; 确定 or Escape closes it. A dialog, so that it runs modally
// like every other box, dressed in a skinned page.
class CDialogAbout : public QDialog
{
    Q_OBJECT

public:
    CDialogAbout(const QString &productText, const QString &dataFolder, QWidget *parent = nullptr);
};

} // namespace numsieve::gui
