// The widget of each kind of control, placed and dressed as the control says at creation.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

#include "form/controls.h"

class QObject;
class QWidget;

namespace morlane::gui::qt {

// Twips as pixels of the layout at `scale` (1: the designed size).
int Pixels(int twips, double scale = 1);
QColor ToQColor(form::Rgb rgb);
// Whether a control of the kind takes the keyboard focus (and has a place in the tab order).
bool TakesFocus(form::Kind kind);

// What a new widget reports, and to whom.
struct WidgetEvents {
  // A button pressed, a list entry chosen in a combo box, a click on a label or a frame.
  std::function<void()> clicked;
  // The edit text of a combo box changed by the user.
  std::function<void(const QString&)> edited;
  // Sees the keys and focus changes of buttons and combo boxes (and their edit fields).
  QObject* keyAndFocusFilter = nullptr;
};

// The widget of `control` inside `parent`, at its place and in its font, both at `scale`.
QWidget* CreateWidget(const form::Control& control, QWidget* parent, const WidgetEvents& events,
                      double scale = 1);

}  // namespace morlane::gui::qt
