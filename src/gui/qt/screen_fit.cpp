#include "gui/qt/screen_fit.h"

#include <QScreen>
#include <algorithm>

#include "form/controls.h"

namespace morlane::gui::qt {
namespace {

// What a window manager adds around the client area, at most, in logical pixels: a title bar
// above, thin borders around.
constexpr int kDecorationWidth = 8;
constexpr int kDecorationHeight = 32;
constexpr double kSmallestPoints = 8;

}  // namespace

int LayoutDpi(const QScreen* screen) {
  constexpr int kDesignDpi = 96;
  if (screen == nullptr) return kDesignDpi;
  const QRect area = screen->availableGeometry();
  const double width = form::kClientWidth / static_cast<double>(form::kTwipsPerPixel);
  const double height = form::kClientHeight / static_cast<double>(form::kTwipsPerPixel);
  const double fit = std::min((area.width() - kDecorationWidth) / width,
                              (area.height() - kDecorationHeight) / height);
  // A screen too small for any layout gets the smallest one rather than none.
  return static_cast<int>(kDesignDpi * std::clamp(fit, 0.25, 1.0));
}

QFont ScaledFont(QFont font, double scale) {
  const double points = font.pointSizeF();
  if (points <= 0 || scale >= 1) return font;
  font.setPointSizeF(std::min(points, std::max(points * scale, kSmallestPoints)));
  return font;
}

QPoint PlaceOnScreen(QSize size, const QRect& area) {
  const int x = area.left() + std::max(0, (area.width() - size.width()) / 2);
  const int y = area.top() + std::max(0, (area.height() - size.height() - kDecorationHeight) / 2);
  return {x, y};
}

}  // namespace morlane::gui::qt
