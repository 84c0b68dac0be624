#include "ui/SkinFont.h"

namespace numsieve::gui {

QStringList skinFontFamilies()
{
    return {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("WenQuanYi Zen Hei")};
}

QFont skinFont()
{
    return skinFont(8.7);
}

QFont skinFont(qreal pointSize, bool bold)
{
    QFont font;
    font.setFamilies(skinFontFamilies());
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    // The skin is drawn pixel-exact around its texts; hinting keeps the small
    // CJK glyphs from smearing across the 1-px frames.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace numsieve::gui
