#pragma once

#include <QFont>
#include <QStringList>

namespace numsieve::gui {

// The families tried in order for every text of the window: the Windows
// 宋体 first, then the CJK fonts a Linux desktop usually has.
QStringList skinFontFamilies();

// 宋体 at 8.7 points, falling back to whichever CJK family is installed.
QFont skinFont();

// The same family list at another size or weight, for texts drawn into the
// skin images (captions of picture buttons, the title strip).
QFont skinFont(qreal pointSize, bool bold = false);

} // namespace numsieve::gui
