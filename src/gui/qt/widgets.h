// The widget of each kind of control, placed and dressed as the control says at creation.
#pragma once

#include <QColor>
#include <QString>
#include <functional>

#include "form/controls.h"

class QObject;
class QWidget;

namespace morlane::gui::qt {

int Pixels(int twips);
QColor ToQColor(form::Rgb rgb);
// Whether a control of the kind takes the keyboard focus (and has a place in the tab order).
bool TakesFocus(form::Kind kind);

// What a new widget reports, and to whom.
struct WidgetEvents {
  std::function<void()> clicked;               // a button or a combo choice, a label, a frame
  std::function<void(const QString&)> edited;  // the edit text of a combo box
  QObject* keyAndFocusFilter = nullptr;        // sees the keys and focus changes of
                                               // buttons and combos (with their edit fields)
};

// The widget of `control` inside `parent`, at its place and in its font.
QWidget* CreateWidget(const form::Control& control, QWidget* parent, const WidgetEvents& events);

}  // namespace morlane::gui::qt
