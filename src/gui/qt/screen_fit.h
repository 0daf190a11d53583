// The whole window on the screen: scaled down where the designed window is larger than the
// screen's work area, and placed so that its title bar stays on it.
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>

class QScreen;

namespace morlane::gui::qt {

// The layout's dots per inch: 96 where the designed window fits the screen's work area (with
// room for a title bar and borders); fewer, so that it fits, where it does not.
int LayoutDpi(const QScreen* screen);

// The font at `scale` of its size, never below 8 pt (nor above its own size).
QFont ScaledFont(QFont font, double scale);

// Where a window of `size` goes: centred in the work area, its top left corner never outside.
QPoint PlaceOnScreen(QSize size, const QRect& area);

}  // namespace morlane::gui::qt
