#include "gui/ui/SkinFont.h"

#include <QFontMetrics>

namespace numsieve::gui {

namespace {

constexpr qreal kDialogPointSize = 8.7;
// Below this the CJK glyphs stop being legible; a text that still does not
// fit is cut rather than made unreadable.
constexpr qreal kSmallestPointSize = 6.5;

} // namespace

QStringList skinFontFamilies()
{
    return {QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
            QStringLiteral("WenQuanYi Zen Hei")};
}

QFont skinFont()
{
    return skinFont(kDialogPointSize);
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

QFont skinFontFitting(const QStringList &texts, int width)
{
    QFont font = skinFont();
    const auto widest = [&font, &texts] {
        const QFontMetrics metrics(font);
        int w = 0;
        for (const QString &text : texts)
            w = qMax(w, metrics.horizontalAdvance(text));
        return w;
    };
    while (widest() > width && font.pointSizeF() > kSmallestPointSize)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    return font;
}

} // namespace numsieve::gui
