#pragma once

#include <QIcon>
#include <QPixmap>

namespace numsieve::gui {

// The program's mark: three digit tiles over a sieve on the skin's blue.
QPixmap appIconPixmap(int size);
QIcon appIcon();

} // namespace numsieve::gui
