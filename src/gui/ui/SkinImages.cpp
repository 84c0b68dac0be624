#include "gui/ui/SkinImages.h"

#include "gui/ui/SkinFont.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <array>

namespace numsieve::gui {

namespace {

// The palette of the skin. Everything is derived from a handful of blues so
// that a change here retunes the whole window.
const QColor kTitleTop(46, 124, 200);
const QColor kTitleBottom(20, 78, 148);
const QColor kOutline(16, 58, 112);
const QColor kBodyTop(228, 240, 252);
const QColor kBodyBottom(206, 225, 246);
const QColor kPanelTop(241, 248, 255);
const QColor kPanelBottom(216, 233, 250);
const QColor kPanelBorder(150, 186, 224);
const QColor kLightTop(255, 255, 255);
const QColor kLightBottom(214, 231, 249);
const QColor kButtonBorder(112, 156, 208);
const QColor kDarkTop(54, 116, 188);
const QColor kDarkBottom(22, 74, 140);
const QColor kCaption(SkinColour::captionText);
const QColor kGreen(38, 160, 58);
const QColor kGreyText(150, 158, 168);
const QColor kGreyBorder(186, 194, 204);
const QColor kGreyFill(236, 239, 243);

qreal devicePixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

// A transparent pixmap of a logical size at the screen's pixel ratio, with a
// painter set up for smooth drawing in logical coordinates.
class Canvas
{
public:
    explicit Canvas(QSize size)
        : m_size(size)
    {
        const qreal dpr = devicePixelRatio();
        m_pixmap = QPixmap((QSizeF(size) * dpr).toSize());
        m_pixmap.setDevicePixelRatio(dpr);
        m_pixmap.fill(Qt::transparent);
        m_painter.begin(&m_pixmap);
        m_painter.setRenderHint(QPainter::Antialiasing);
        m_painter.setRenderHint(QPainter::TextAntialiasing);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
    }

    QPainter &p() { return m_painter; }
    QRectF rect() const { return QRectF(QPointF(0, 0), QSizeF(m_size)); }
    QSize size() const { return m_size; }

    QPixmap finish()
    {
        m_painter.end();
        return m_pixmap;
    }

private:
    QSize m_size;
    QPixmap m_pixmap;
    QPainter m_painter;
};

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

// A rounded, bordered, vertically shaded body, the building block of every
// button look. The rectangle is inset by half a pixel so the 1-px border
// falls on whole pixels.
void roundedBody(QPainter &p, const QRectF &r, qreal radius, const QColor &top,
                 const QColor &bottom, const QColor &border, bool innerGloss = true)
{
    const QRectF body = r.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(border, 1));
    p.setBrush(vertical(body, top, bottom));
    p.drawRoundedRect(body, radius, radius);
    if (innerGloss) {
        p.setPen(QPen(QColor(255, 255, 255, 150), 1));
        p.setBrush(Qt::NoBrush);
        const QRectF inner = body.adjusted(1, 1, -1, -1);
        p.drawRoundedRect(inner, qMax<qreal>(0, radius - 1), qMax<qreal>(0, radius - 1));
    }
}

void text(QPainter &p, const QRectF &r, const QString &s, const QFont &font, const QColor &colour,
          int flags = Qt::AlignCenter)
{
    p.setFont(font);
    p.setPen(colour);
    p.drawText(r, flags | Qt::TextSingleLine, s);
}

// The corner of a shaped window, top-left, as seen on screen: X is cut out
// (painted pure black, which the mask leaves out), B is the outline, '.' the
// body. It fits the 4 × 4 squares in which the mask looks for black.
constexpr std::array<const char *, 4> kCorner = {"XXXB", "XBB.", "XB..", "B..."};

void cutCorners(QPainter &p, QSize size, const QColor &outline)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            const char c = kCorner[row][col];
            if (c == '.')
                continue;
            const QColor colour = c == 'X' ? QColor(SkinColour::shapeColour) : outline;
            const int right = size.width() - 1 - col;
            const int bottom = size.height() - 1 - row;
            for (const QPoint pt : {QPoint(col, row), QPoint(right, row), QPoint(col, bottom),
                                    QPoint(right, bottom)})
                p.fillRect(QRect(pt, QSize(1, 1)), colour);
        }
    }
    p.restore();
}

// A crisp 1-px rectangle outline on whole pixels.
void outlineRect(QPainter &p, const QRect &r, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(r.left(), r.top(), r.width(), 1);
    p.drawRect(r.left(), r.bottom(), r.width(), 1);
    p.drawRect(r.left(), r.top(), 1, r.height());
    p.drawRect(r.right(), r.top(), 1, r.height());
    p.restore();
}

void tick(QPainter &p, const QRectF &box, const QColor &colour, qreal width)
{
    QPainterPath path;
    path.moveTo(box.left() + box.width() * 0.12, box.top() + box.height() * 0.52);
    path.lineTo(box.left() + box.width() * 0.40, box.top() + box.height() * 0.80);
    path.lineTo(box.left() + box.width() * 0.90, box.top() + box.height() * 0.18);
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

// The shaded strip with the window's caption, shared by the main window and
// the please-wait window.
void titleStrip(QPainter &p, const QRectF &r)
{
    QLinearGradient g = vertical(r, kTitleTop, kTitleBottom);
    g.setColorAt(0.5, QColor(34, 104, 180));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(r);
    // a soft gloss over the upper half
    QRectF gloss(r.left(), r.top(), r.width(), r.height() * 0.48);
    p.setBrush(vertical(gloss, QColor(255, 255, 255, 46), QColor(255, 255, 255, 8)));
    p.drawRect(gloss);
    p.setBrush(QColor(10, 44, 92));
    p.drawRect(QRectF(r.left(), r.bottom() - 1, r.width(), 1));
}

void ball(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour, const QString &digit)
{
    QRadialGradient g(centre - QPointF(radius * 0.35, radius * 0.4), radius * 1.3);
    g.setColorAt(0, colour.lighter(160));
    g.setColorAt(0.55, colour);
    g.setColorAt(1, colour.darker(135));
    p.setPen(QPen(colour.darker(170), 0.8));
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);
    QFont f = skinFont(radius * 0.95, true);
    f.setFamilies({QStringLiteral("DejaVu Sans")});
    f.setPixelSize(qRound(radius * 1.25));
    text(p, QRectF(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2), digit, f,
         Qt::white);
}

QPen iconPen(const QColor &c = QColor(255, 255, 255))
{
    return QPen(c, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void topIcon(QPainter &p, SkinImages::TopButton which, const QRectF &box)
{
    p.save();
    p.translate(box.topLeft());
    p.setPen(iconPen());
    p.setBrush(Qt::NoBrush);
    const QColor fill(255, 255, 255, 60);
    switch (which) {
    case SkinImages::TopButton::Lotteries: {
        // a stack of cards with lines: the list of games and their draws
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(5, 2, 13, 16), 2, 2);
        p.setBrush(QColor(30, 90, 160));
        p.drawRoundedRect(QRectF(2, 4, 13, 16), 2, 2);
        for (qreal y : {9.0, 12.5, 16.0})
            p.drawLine(QPointF(5, y), QPointF(12, y));
        break;
    }
    case SkinImages::TopButton::Draws: {
        // a drawn ball on its stand
        QRadialGradient g(QPointF(8, 7), 10);
        g.setColorAt(0, QColor(255, 236, 170));
        g.setColorAt(1, QColor(244, 160, 40));
        p.setBrush(g);
        p.setPen(QPen(QColor(255, 255, 255), 1.4));
        p.drawEllipse(QPointF(10, 9), 7.5, 7.5);
        p.setPen(iconPen());
        p.drawLine(QPointF(5, 19.5), QPointF(15, 19.5));
        QFont f;
        f.setFamilies({QStringLiteral("DejaVu Sans")});
        f.setPixelSize(9);
        f.setBold(true);
        text(p, QRectF(2.5, 1.5, 15, 15), QStringLiteral("3"), f, QColor(150, 60, 0));
        break;
    }
    case SkinImages::TopButton::Analysis: {
        // bars with a trend line
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 210));
        p.drawRect(QRectF(3, 12, 3.5, 7));
        p.drawRect(QRectF(8.5, 8, 3.5, 11));
        p.drawRect(QRectF(14, 10, 3.5, 9));
        p.setPen(QPen(QColor(255, 214, 90), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(2, 9), QPointF(8, 4), QPointF(12, 6), QPointF(19, 1)}));
        break;
    }
    case SkinImages::TopButton::Forum: {
        // two speech bubbles
        p.setBrush(fill);
        QPainterPath back;
        back.addRoundedRect(QRectF(7, 1, 13, 10), 3, 3);
        p.drawPath(back);
        p.setBrush(QColor(30, 90, 160));
        QPainterPath front;
        front.addRoundedRect(QRectF(1, 6, 13, 10), 3, 3);
        front.moveTo(4, 15.5);
        front.lineTo(3.5, 20);
        front.lineTo(8.5, 15.5);
        p.drawPath(front.simplified());
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (qreal x : {4.5, 7.5, 10.5})
            p.drawEllipse(QPointF(x, 11), 1.1, 1.1);
        break;
    }
    case SkinImages::TopButton::More: {
        // a grid of four tiles
        p.setBrush(fill);
        for (const QPointF &pt : {QPointF(2, 2), QPointF(11, 2), QPointF(2, 11)})
            p.drawRoundedRect(QRectF(pt, QSizeF(7, 7)), 1.5, 1.5);
        p.setBrush(QColor(255, 214, 90));
        p.drawEllipse(QPointF(14.5, 14.5), 3.8, 3.8);
        break;
    }
    }
    p.restore();
}

enum class TopLook { Normal, Hover, Pressed };

QPixmap topButtonLook(SkinImages::TopButton which, TopLook look)
{
    Canvas c(SkinImages::topButtonSize);
    QPainter &p = c.p();
    const QRectF r = c.rect().adjusted(1.5, 1.5, -1.5, -1.5);
    if (look != TopLook::Normal) {
        const bool hover = look == TopLook::Hover;
        p.setPen(QPen(hover ? QColor(255, 255, 255, 120) : QColor(8, 36, 80, 150), 1));
        p.setBrush(hover ? vertical(r, QColor(255, 255, 255, 80), QColor(255, 255, 255, 24))
                         : vertical(r, QColor(8, 40, 90, 120), QColor(8, 40, 90, 60)));
        p.drawRoundedRect(r, 4, 4);
    }
    const qreal shift = look == TopLook::Pressed ? 1 : 0;
    topIcon(p, which, QRectF(30 + shift, 3 + shift, 20, 20));
    text(p, QRectF(0 + shift, 24 + shift, 80, 14), SkinImages::topButtonCaption(which),
         skinFont(9, true), Qt::white);
    return c.finish();
}

QPixmap windowGlyph(bool close, TopLook look)
{
    Canvas c(SkinImages::captionButtonSize);
    QPainter &p = c.p();
    const QRectF r = c.rect().adjusted(0.5, 0.5, -0.5, -0.5);
    if (look != TopLook::Normal) {
        QColor top = close ? QColor(232, 84, 64) : QColor(255, 255, 255, 90);
        QColor bottom = close ? QColor(196, 44, 32) : QColor(255, 255, 255, 40);
        if (look == TopLook::Pressed) {
            top = close ? QColor(170, 36, 26) : QColor(8, 40, 90, 140);
            bottom = close ? QColor(140, 28, 20) : QColor(8, 40, 90, 90);
        }
        p.setPen(QPen(QColor(255, 255, 255, 110), 1));
        p.setBrush(vertical(r, top, bottom));
        p.drawRoundedRect(r, 3, 3);
    }
    p.setPen(QPen(Qt::white, 1.8, Qt::SolidLine, Qt::RoundCap));
    const QPointF m = c.rect().center();
    if (close) {
        p.drawLine(m + QPointF(-4, -4), m + QPointF(4, 4));
        p.drawLine(m + QPointF(-4, 4), m + QPointF(4, -4));
    } else {
        p.drawLine(m + QPointF(-5, 4), m + QPointF(5, 4));
    }
    return c.finish();
}

// Light raised button with its caption; pressed is sunk and the text moves
// down by one pixel; disabled is flat grey.
enum class Raised { Up, Down, Disabled };

QPixmap raisedButton(QSize size, const QString &caption, Raised look, const QFont &font,
                     qreal radius = 3)
{
    Canvas c(size);
    QPainter &p = c.p();
    switch (look) {
    case Raised::Up:
        roundedBody(p, c.rect(), radius, kLightTop, kLightBottom, kButtonBorder);
        text(p, c.rect(), caption, font, kCaption);
        break;
    case Raised::Down:
        roundedBody(p, c.rect(), radius, QColor(186, 211, 240), QColor(222, 236, 251),
                    QColor(60, 110, 172), false);
        text(p, c.rect().translated(1, 1), caption, font, kCaption);
        break;
    case Raised::Disabled:
        roundedBody(p, c.rect(), radius, kGreyFill, QColor(224, 228, 234), kGreyBorder);
        text(p, c.rect(), caption, font, kGreyText);
        break;
    }
    return c.finish();
}

QPixmap conditionLook(bool on, bool dark)
{
    Canvas c(SkinImages::conditionButtonSize);
    QPainter &p = c.p();
    if (dark) {
        roundedBody(p, c.rect(), 2.5, kDarkTop, kDarkBottom, QColor(14, 52, 104), false);
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(QPointF(3, 1.5), QPointF(c.size().width() - 3, 1.5));
        // the arrow that marks the condition whose panel is shown
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        const qreal mid = c.size().height() / 2.0;
        p.drawPolygon(QPolygonF({QPointF(5, mid - 4), QPointF(9.5, mid), QPointF(5, mid + 4)}));
    } else {
        roundedBody(p, c.rect(), 2.5, QColor(250, 253, 255), QColor(208, 227, 248),
                    QColor(146, 182, 222));
    }
    if (on) {
        const QRectF box(c.size().width() - 15, 5.5, 11, 11);
        if (dark)
            tick(p, box, QColor(132, 230, 116), 2.2);
        else
            tick(p, box, kGreen, 2.2);
    }
    return c.finish();
}

void radioMark(QPainter &p, const QPointF &centre, bool selected, bool enabled)
{
    const QColor border = enabled ? QColor(72, 122, 184) : kGreyBorder;
    QRadialGradient g(centre - QPointF(1.5, 1.5), 7);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, enabled ? QColor(218, 232, 248) : kGreyFill);
    p.setPen(QPen(border, 1));
    p.setBrush(g);
    p.drawEllipse(centre, 5.5, 5.5);
    if (selected) {
        QRadialGradient dot(centre - QPointF(1, 1), 4);
        dot.setColorAt(0, enabled ? QColor(120, 222, 110) : QColor(200, 204, 208));
        dot.setColorAt(1, enabled ? QColor(22, 136, 40) : QColor(150, 156, 162));
        p.setPen(Qt::NoPen);
        p.setBrush(dot);
        p.drawEllipse(centre, 3.2, 3.2);
    }
}

QPixmap radioLook(const QString &caption, bool selected, bool enabled)
{
    Canvas c(SkinImages::radioSize);
    QPainter &p = c.p();
    radioMark(p, QPointF(7, 7.5), selected, enabled);
    text(p, QRectF(15, 0, 27, 15), caption, skinFont(), enabled ? kCaption : kGreyText,
         Qt::AlignLeft | Qt::AlignVCenter);
    return c.finish();
}

QPixmap checkLook(bool ticked, bool enabled)
{
    Canvas c(SkinImages::checkBoxSize);
    QPainter &p = c.p();
    const QRectF box(1.5, 2.5, 11, 11);
    p.setPen(QPen(enabled ? QColor(72, 122, 184) : kGreyBorder, 1));
    p.setBrush(vertical(box, Qt::white, enabled ? QColor(218, 232, 248) : kGreyFill));
    p.drawRoundedRect(box, 1.5, 1.5);
    if (ticked)
        tick(p, box.adjusted(1, 1, -1, -1), enabled ? kGreen : kGreyText, 2);
    text(p, QRectF(16, 0, 31, 15), QStringLiteral("容错"), skinFont(), enabled ? kCaption : kGreyText,
         Qt::AlignLeft | Qt::AlignVCenter);
    return c.finish();
}

QPixmap digitLook(int digit, bool selected, bool down)
{
    Canvas c(SkinImages::digitButtonSize);
    QPainter &p = c.p();
    QFont f = skinFont(10, true);
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
    const QString s = QString::number(digit);
    const QRectF r = c.rect().translated(down ? 1 : 0, down ? 1 : 0);
    if (selected) {
        roundedBody(p, c.rect(), 4, QColor(240, 108, 80), QColor(196, 40, 28), QColor(146, 30, 20),
                    false);
        p.setPen(QPen(QColor(255, 255, 255, 90), 1));
        p.drawLine(QPointF(4, 1.5), QPointF(20, 1.5));
        text(p, r, s, f, Qt::white);
    } else {
        roundedBody(p, c.rect(), 4, down ? QColor(200, 222, 246) : kLightTop,
                    down ? QColor(230, 240, 252) : kLightBottom, kButtonBorder, !down);
        text(p, r, s, f, kCaption);
    }
    return c.finish();
}

QPixmap tabLook(const QString &caption, int width, bool active)
{
    const int h = SkinImages::tabHeight;
    Canvas c(QSize(width, h));
    QPainter &p = c.p();
    const qreal tabWidth = qMin(width, SkinImages::standardTabWidth);
    const QColor line(120, 164, 214);
    if (active) {
        // lighter, taller, curved on top and open at the bottom so that it
        // runs into the panel below
        QPainterPath path;
        const qreal l = 0.5, r = tabWidth - 0.5, t = 0.5, rad = 7;
        path.moveTo(l, h);
        path.lineTo(l, t + rad);
        path.quadTo(l, t, l + rad, t);
        path.lineTo(r - rad, t);
        path.quadTo(r, t, r, t + rad);
        path.lineTo(r, h);
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(QRectF(0, 0, tabWidth, h), Qt::white, kPanelTop));
        p.drawPath(path);
        p.setPen(QPen(line, 1));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
        text(p, QRectF(0, 1, tabWidth, h - 1), caption, skinFont(9.5, true), kCaption);
    } else {
        const QRectF body(1.5, 5.5, tabWidth - 3, h - 5.5);
        QPainterPath path;
        path.moveTo(body.left(), body.bottom());
        path.lineTo(body.left(), body.top() + 3);
        path.quadTo(body.left(), body.top(), body.left() + 3, body.top());
        path.lineTo(body.right() - 3, body.top());
        path.quadTo(body.right(), body.top(), body.right(), body.top() + 3);
        path.lineTo(body.right(), body.bottom());
        p.setPen(QPen(QColor(86, 134, 192), 1));
        p.setBrush(vertical(body, QColor(132, 176, 224), QColor(98, 146, 204)));
        p.drawPath(path);
        text(p, body.adjusted(0, 1, 0, 0), caption, skinFont(9.5, true), Qt::white);
    }
    // the base line on which the tabs stand; an active tab leaves it open
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    if (!active)
        p.drawRect(QRect(0, h - 1, int(tabWidth), 1));
    if (width > tabWidth)
        p.drawRect(QRect(int(tabWidth), h - 1, width - int(tabWidth), 1));
    return c.finish();
}

} // namespace

QPixmap SkinImages::mainBackground(QSize size)
{
    Canvas c(size);
    QPainter &p = c.p();
    const int w = size.width(), h = size.height();
    const int added = w - mainSize.width();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(c.rect(), kBodyTop, kBodyBottom));
    p.drawRect(c.rect());

    titleStrip(p, QRectF(0, 0, w, titleStripHeight));

    // the program's mark: three drawn balls, then its name
    ball(p, QPointF(22, 22), 9, QColor(220, 52, 40), QStringLiteral("3"));
    ball(p, QPointF(38, 22), 9, QColor(240, 150, 20), QStringLiteral("D"));
    ball(p, QPointF(30, 36), 9, QColor(40, 150, 70), QStringLiteral("3"));
    QFont name = skinFont(17, true);
    p.setPen(QColor(0, 30, 70, 120));
    p.setFont(name);
    const QRectF nameRect(56, 8, 160, 28);
    p.drawText(nameRect.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("三位筛号器"));
    text(p, nameRect, QStringLiteral("三位筛号器"), name, Qt::white, Qt::AlignLeft | Qt::AlignVCenter);
    text(p, QRectF(57, 35, 170, 16), QStringLiteral("三位数彩票 · 选号 过滤 交集"), skinFont(8.5),
         QColor(200, 226, 252), Qt::AlignLeft | Qt::AlignVCenter);

    // the wells behind the panels and the map, a hair darker than the body
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(QColor(172, 200, 232));
    const int strip = h - 40;
    p.drawRect(QRect(1, 59, 410 + added, strip - 59));
    p.drawRect(QRect(409 + added, 59, 611, strip - 59));

    // the bottom command strip
    const QRect commands(1, strip, w - 2, h - strip - 1);
    p.setBrush(vertical(commands, QColor(236, 244, 253), QColor(204, 223, 245)));
    p.drawRect(commands);
    p.setBrush(QColor(255, 255, 255, 200));
    p.drawRect(QRect(1, strip, w - 2, 1));

    outlineRect(p, QRect(0, 0, w, h), kOutline);
    cutCorners(p, size, kOutline);
    return c.finish();
}

QPixmap SkinImages::panelBackground(QSize size)
{
    Canvas c(size);
    QPainter &p = c.p();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    QLinearGradient g = vertical(c.rect(), kPanelTop, kPanelBottom);
    g.setColorAt(0.12, kPanelTop);
    p.setBrush(g);
    p.drawRect(c.rect());
    outlineRect(p, QRect(QPoint(0, 0), size), kPanelBorder);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawRect(QRect(1, 1, size.width() - 2, 1));
    p.drawRect(QRect(1, 1, 1, size.height() - 2));
    return c.finish();
}

QPixmap SkinImages::tabPageBackground(QSize size)
{
    Canvas c(size);
    QPainter &p = c.p();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(c.rect(), kPanelTop, kPanelBottom));
    p.drawRect(c.rect());
    const QColor line(120, 164, 214); // the tabs' base line colour
    p.setBrush(line);
    p.drawRect(QRect(0, 0, 1, size.height()));
    p.drawRect(QRect(size.width() - 1, 0, 1, size.height()));
    p.drawRect(QRect(0, size.height() - 1, size.width(), 1));
    return c.finish();
}

QPixmap SkinImages::popupBackground()
{
    Canvas c(popupSize);
    QPainter &p = c.p();
    const int w = popupSize.width(), h = popupSize.height();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(c.rect(), QColor(250, 252, 255), QColor(226, 238, 251)));
    p.drawRect(c.rect());
    const QRect header(1, 1, w - 2, 24);
    p.setBrush(vertical(header, QColor(226, 239, 253), QColor(186, 213, 243)));
    p.drawRect(header);
    p.setBrush(kPanelBorder);
    p.drawRect(QRect(1, 25, w - 2, 1));
    p.setBrush(QColor(255, 255, 255, 180));
    p.drawRect(QRect(1, 1, w - 2, 1));
    // the accent at the left of the header line
    p.setBrush(QColor(40, 104, 178));
    p.drawRect(QRect(6, 7, 3, 13));
    outlineRect(p, QRect(0, 0, w, h), QColor(62, 112, 176));
    cutCorners(p, popupSize, QColor(62, 112, 176));
    return c.finish();
}

QPixmap SkinImages::progressBackground(QSize size)
{
    Canvas c(size);
    QPainter &p = c.p();
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(c.rect(), kPanelTop, kPanelBottom));
    p.drawRect(c.rect());
    titleStrip(p, QRectF(0, 0, size.width(), 24));
    outlineRect(p, QRect(QPoint(0, 0), size), kOutline);
    cutCorners(p, size, kOutline);
    return c.finish();
}

QString SkinImages::topButtonCaption(TopButton button)
{
    switch (button) {
    case TopButton::Lotteries:
        return QStringLiteral("彩种管理");
    case TopButton::Draws:
        return QStringLiteral("开奖");
    case TopButton::Analysis:
        return QStringLiteral("分析");
    case TopButton::Forum:
        return QStringLiteral("论坛");
    case TopButton::More:
        return QStringLiteral("更多");
    }
    return {};
}

ButtonLooks SkinImages::topButton(TopButton button)
{
    return {topButtonLook(button, TopLook::Normal), topButtonLook(button, TopLook::Hover),
            topButtonLook(button, TopLook::Pressed)};
}

ButtonLooks SkinImages::minimiseButton()
{
    return {windowGlyph(false, TopLook::Normal), windowGlyph(false, TopLook::Hover),
            windowGlyph(false, TopLook::Pressed)};
}

ButtonLooks SkinImages::closeButton()
{
    return {windowGlyph(true, TopLook::Normal), windowGlyph(true, TopLook::Hover),
            windowGlyph(true, TopLook::Pressed)};
}

BitmapLooks SkinImages::commandButton(const QString &caption)
{
    const QFont f = skinFont(9.5, true);
    return {raisedButton(commandButtonSize, caption, Raised::Up, f, 4),
            raisedButton(commandButtonSize, caption, Raised::Down, f, 4), {}};
}

ButtonLooks SkinImages::conditionButton(bool on)
{
    const QPixmap dark = conditionLook(on, true);
    return {conditionLook(on, false), dark, dark};
}

QPixmap SkinImages::tab(const QString &caption, int width, bool active)
{
    return tabLook(caption, width, active);
}

BitmapLooks SkinImages::radio(const QString &caption, bool selected)
{
    const QPixmap up = radioLook(caption, selected, true);
    return {up, up, radioLook(caption, selected, false)};
}

BitmapLooks SkinImages::checkBox(bool ticked)
{
    const QPixmap up = checkLook(ticked, true);
    return {up, up, checkLook(ticked, false)};
}

QPixmap SkinImages::captionBar()
{
    Canvas c(captionBarSize);
    QPainter &p = c.p();
    roundedBody(p, c.rect(), 3, QColor(255, 255, 255), QColor(218, 234, 251), QColor(140, 178, 220));
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 104, 178));
    p.drawRect(QRect(3, 5, 3, captionBarSize.height() - 10));
    return c.finish();
}

BitmapLooks SkinImages::moveButton(const QString &caption)
{
    const QFont f = skinFont();
    return {raisedButton(moveButtonSize, caption, Raised::Up, f),
            raisedButton(moveButtonSize, caption, Raised::Down, f),
            raisedButton(moveButtonSize, caption, Raised::Disabled, f)};
}

BitmapLooks SkinImages::digitButton(int digit, bool selected)
{
    return {digitLook(digit, selected, false), digitLook(digit, selected, true), {}};
}

BitmapLooks SkinImages::smallButton(const QString &caption)
{
    const QFont f = skinFont();
    return {raisedButton(smallButtonSize, caption, Raised::Up, f),
            raisedButton(smallButtonSize, caption, Raised::Down, f),
            raisedButton(smallButtonSize, caption, Raised::Disabled, f)};
}

QPixmap SkinImages::popupCloseButton()
{
    return raisedButton(popupCloseSize, QStringLiteral("关闭"), Raised::Up, skinFont());
}

ComboParts SkinImages::comboParts()
{
    const int h = comboHeight;
    const QColor border(SkinColour::flatBorder);
    auto field = [&](QSize size, bool leftEdge) {
        Canvas c(size);
        QPainter &p = c.p();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(c.rect(), Qt::white, QColor(236, 244, 253)));
        p.drawRect(c.rect());
        p.setBrush(border);
        p.drawRect(QRect(0, 0, size.width(), 1));
        p.drawRect(QRect(0, h - 1, size.width(), 1));
        if (leftEdge) {
            p.drawRect(QRect(0, 0, 1, h));
        }
        return c.finish();
    };
    Canvas b(QSize(18, h));
    QPainter &p = b.p();
    roundedBody(p, b.rect(), 2, QColor(132, 176, 224), QColor(70, 124, 190), QColor(60, 110, 172), false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPolygon(QPolygonF({QPointF(5, 8), QPointF(13, 8), QPointF(9, 13)}));
    return {field(QSize(4, h), true), field(QSize(8, h), false), b.finish()};
}

} // namespace numsieve::gui
