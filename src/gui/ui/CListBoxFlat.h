#pragma once

#include <QListWidget>

namespace numsieve::gui {

// A list box with the flat frame: (136, 172, 213) outside, white inside.
class CListBoxFlat : public QListWidget
{
    Q_OBJECT

public:
    explicit CListBoxFlat(QWidget *parent = nullptr);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event = nullptr) const override;
};

} // namespace numsieve::gui
