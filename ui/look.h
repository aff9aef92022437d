// The game's look, written once for every window: its Japanese font at a pixel
// height, the rule for placing a window on the screen, the green check mark
// of a confirming button, and pictures drawn at the screen's resolution.
#pragma once

#include <cstdint>

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QString>

class QPainter;
class QWidget;

namespace renkomi::ui {

// A colour as the game keeps it: 24 bits in blue-green-red order.
QColor FromBgr(std::uint32_t bgr);

// The desktop's Japanese font at a character height in pixels; Qt falls back glyph
// by glyph when the first family is missing.
QFont GameFont(int pixelHeight, bool bold = false);

// Moves `window` to the centre of its screen's free area.
void CentreOnScreen(QWidget& window);
// Centres `window` the first time it is called for it and never again, so that
// later showings open where the player left the window. Called as it is shown.
void CentreOnFirstShow(QWidget& window);

// The check mark, drawn into `glyph` (18 pixels square) in `colour`.
void PaintCheckMark(QPainter& painter, const QRectF& glyph, const QColor& colour);
// The check mark as a button's icon, drawn anew for each screen resolution.
QIcon CheckMarkIcon();
// Its green.
inline const QColor kCheckMarkGreen{0x00, 0x80, 0x00};

// The drawing `path` for a screen of `ratio` device pixels per window pixel: above
// ratio 1 its twice-as-large rendering (the same path with "@2x" before the
// extension) where there is one, so that the small one is never enlarged.
QImage DrawingForRatio(const QString& path, qreal ratio);

// The picture `path` of `size` window pixels for a screen of `ratio` device
// pixels per window pixel: above ratio 1 its twice-as-large rendering (the same
// path with "@2x" before the extension) scaled to the screen, never the small
// one enlarged.
QPixmap PictureAtRatio(const QString& path, QSize size, qreal ratio);

}  // namespace renkomi::ui
