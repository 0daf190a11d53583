// The widget of each kind of control, placed and dressed as the control says at creation.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

#include "form/controls.h"

class QObject;
class QWidget;

namespace morlane::gui::qt {

// The layout's pixels are those of 96 dots per inch; Qt scales them for the screen.
inline constexpr int kDesignDpi = 96;

int Pixels(int twips);
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

// The widget of `control` inside `parent`, at its place and in its font.
QWidget* CreateWidget(const form::Control& control, QWidget* parent, const WidgetEvents& events);

}  // namespace morlane::gui::qt
