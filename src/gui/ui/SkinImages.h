#pragma once

#include <QColor>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace numsieve::gui {

// The colours that the skinned controls draw with; the images below use the
// same family of blues so the whole window reads as one piece.
namespace SkinColour {
inline constexpr QRgb captionText = qRgb(0, 54, 101);     // dark-blue caption text
inline constexpr QRgb activeText = qRgb(255, 255, 255);   // caption on a hovered / current button
inline constexpr QRgb keyColour = qRgb(255, 0, 255);      // transparent colour inside button images
inline constexpr QRgb shapeColour = qRgb(0, 0, 0);        // corners cut out of shaped windows
inline constexpr QRgb flatBorder = qRgb(136, 172, 213);   // flat list, edit and combo boxes
inline constexpr QRgb editFrame = qRgb(113, 161, 233);    // the two-colour edit frame
inline constexpr QRgb comboListBackground = qRgb(115, 138, 154);
} // namespace SkinColour

// Three looks of an owner-drawn picture button.
struct ButtonLooks
{
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
};

// Looks of a plain bitmap button; disabled may be null (the up image is used).
struct BitmapLooks
{
    QPixmap up;
    QPixmap down;
    QPixmap disabled;
};

// The closed bitmap combo box: left end, stretched middle, drop button.
struct ComboParts
{
    QPixmap left;
    QPixmap middle;
    QPixmap button;
};

// Every picture of the light-blue skin, drawn by code at the screen's device
// pixel ratio. Sizes are in logical pixels (QPixmap::deviceIndependentSize).
// Shaped windows get their cut corners in pure black, the colour their mask
// leaves out.
class SkinImages
{
public:
    enum class TopButton { Lotteries, Draws, Analysis, Forum, More };

    // Windows and panels.
    // 1021 × 738; a main window of another size keeps the caption strip,
    // the command strip at its foot and the map's well at its right, the
    // panels' well taking the width added.
    static QPixmap mainBackground(QSize size = mainSize);
    static QPixmap panelBackground(QSize size);      // left panel 408 × 259, condition panels 408 × 378
    // A panel that hangs under the selection tabs: open at the top, and as
    // light there as the active tab, so that tab and panel read as one.
    static QPixmap tabPageBackground(QSize size);
    static QPixmap popupBackground();                // 271 × 282
    static QPixmap progressBackground(QSize size);   // caption strip on top, shaped corners

    // Title strip of the main window.
    static QString topButtonCaption(TopButton button);
    static ButtonLooks topButton(TopButton button);  // 80 × 40, icon and caption drawn in
    static ButtonLooks minimiseButton();             // 26 × 20
    static ButtonLooks closeButton();                // 26 × 20

    // Bottom command buttons with their caption drawn in; 100 × 30.
    static BitmapLooks commandButton(const QString &caption);

    // Condition buttons of the left panel (normal, mouse-over, current);
    // off row: plain bar; on row: with a green tick. 75 × 23, no text.
    static ButtonLooks conditionButton(bool on);

    // A selection tab with its caption; 30 px high. A tab wider than a
    // standard tab keeps the standard tab shape at its left and continues
    // the base line to the right.
    static QPixmap tab(const QString &caption, int width, bool active);

    // Include/exclude radio looks, 42 × 15, text drawn in; disabled is the
    // greyed look.
    static BitmapLooks radio(const QString &caption, bool selected);
    // The 容错 check box, 47 × 15.
    static BitmapLooks checkBox(bool ticked);

    // Plain bar under a panel caption, 63 × 23 (text drawn by the button).
    static QPixmap captionBar();
    // 添加 / 删除 / 全部添加 / 全部删除, 75 × 23.
    static BitmapLooks moveButton(const QString &caption);
    // Digit toggles "0"…"9", 24 × 22.
    static BitmapLooks digitButton(int digit, bool selected);
    // The small 选 / 全 / 清 buttons beside a digit row, 22 × 20.
    static BitmapLooks smallButton(const QString &caption);
    // 关闭 of the number information popup, 48 × 20 (one look for both states).
    static QPixmap popupCloseButton();

    static ComboParts comboParts();                  // 20 px high

    static constexpr QSize mainSize{1021, 738};
    static constexpr QSize popupSize{271, 282};
    static constexpr QSize topButtonSize{80, 40};
    static constexpr QSize captionButtonSize{26, 20};
    static constexpr QSize commandButtonSize{100, 30};
    static constexpr QSize conditionButtonSize{75, 23};
    static constexpr int tabHeight = 30;
    static constexpr int standardTabWidth = 88;
    static constexpr QSize radioSize{42, 15};
    static constexpr QSize checkBoxSize{47, 15};
    static constexpr QSize captionBarSize{63, 23};
    static constexpr QSize moveButtonSize{75, 23};
    static constexpr QSize digitButtonSize{24, 22};
    static constexpr QSize smallButtonSize{22, 20};
    static constexpr QSize popupCloseSize{48, 20};
    static constexpr int comboHeight = 20;
    static constexpr int titleStripHeight = 58;
};

} // namespace numsieve::gui
