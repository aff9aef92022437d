// The game's look, written once for every window: its Japanese font at a pixel
// height, the rule for placing a window on the screen, and the green check mark
// of a confirming button.
#pragma once

#include <cstdint>

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QRectF>

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
// The check mark as a button's icon.
QIcon CheckMarkIcon();
// Its green.
inline const QColor kCheckMarkGreen{0x00, 0x80, 0x00};

}  // namespace renkomi::ui
