#include "gui/qt/accessible.h"

#include <QLabel>
#include <QPushButton>

#include "form/accessible.h"
#include "gui/qt/text_codec.h"

namespace morlane::gui::qt {

void TieLabels(const std::vector<form::Control>& controls, const std::vector<QWidget*>& widgets) {
  for (std::size_t n = 0; n < controls.size() && n < widgets.size(); ++n) {
    const auto label = form::NamingLabel(controls, n);
    if (!label || *label >= widgets.size()) continue;
    if (auto* shown = qobject_cast<QLabel*>(widgets[*label])) shown->setBuddy(widgets[n]);
  }
}

void MirrorAccessible(const std::vector<form::Control>& controls, std::size_t n, QWidget* widget) {
  const form::Control& c = controls[n];
  // A screen reader would otherwise say a box's value, or only "button", for a control.
  const QString name = FromAnsi(form::AccessibleName(controls, n));
  if (widget->accessibleName() != name) widget->setAccessibleName(name);
  // The tool tip is shown as rich text (to keep its blanks); said, it is the plain text.
  const QString description = MessageText(c.toolTip);
  if (widget->accessibleDescription() != description) widget->setAccessibleDescription(description);
  auto* button = qobject_cast<QPushButton*>(widget);
  if (button != nullptr && c.pressed) {
    button->setCheckable(true);
    if (button->isChecked() != *c.pressed) button->setChecked(*c.pressed);
  }
}

}  // namespace morlane::gui::qt
