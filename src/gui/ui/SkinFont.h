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

// The skin font at the largest size, from the dialog size down, at which
// every one of the texts is at most width pixels wide. Places laid out for
// 宋体 are too narrow for the wider fallback fonts; a smaller size of the
// same family keeps the texts whole without moving the layout.
QFont skinFontFitting(const QStringList &texts, int width);

} // namespace numsieve::gui
