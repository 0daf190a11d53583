// What a screen reader learns of each widget: its name, its description and, for a button that
// shows a mode, whether it is pressed in.
#pragma once

#include <cstddef>
#include <vector>

#include "form/controls.h"

class QWidget;

namespace morlane::gui::qt {

// Ties each position box to its row label (the label's buddy); once, after building.
void TieLabels(const std::vector<form::Control>& controls, const std::vector<QWidget*>& widgets);

// Brings the accessible name, the description (the tool tip as plain text) and the pressed
// state of control n up to the model; touches only what differs.
void MirrorAccessible(const std::vector<form::Control>& controls, std::size_t n, QWidget* widget);

}  // namespace morlane::gui::qt
