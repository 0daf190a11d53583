// The widget of each kind of control, placed and dressed as the control says at creation.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

#include "form/controls.h"

class QObject;
class QWidget;

namespace morlane::gui::qt {

// The layout's pixels are those of 96 dots per inch; Qt scales them for the screen. A screen too
// small for the designed window gets a layout of fewer dots per inch.
inline constexpr int kDesignDpi = 96;

int Pixels(int twips, int dpi = kDesignDpi);
QColor ToQColor(form::Rgb rgb);

// What a new widget reports, and to whom.
struct WidgetEvents {
  // A button pressed, a list entry chosen in a combo box, a click on a label or a frame.
  std::function<void()> clicked;
  // The edit text of a combo box changed by the user.
  std::function<void(const QString&)> edited;
  // Sees the keys and focus changes of buttons and combo boxes (and their edit fields).
  QObject* keyAndFocusFilter = nullptr;
};

// The widget of `control` inside `parent`, at its place and in its font, both at the layout's
// dots per inch (fonts never below 8 pt).
QWidget* CreateWidget(const form::Control& control, QWidget* parent, const WidgetEvents& events,
                      int dpi = kDesignDpi);

}  // namespace morlane::gui::qt
