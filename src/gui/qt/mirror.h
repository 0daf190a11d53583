// Mirroring a control's run-time state (enabled, texts, tool tip, colour, list) onto its widget.
#pragma once

#include <optional>
#include <string>

#include "form/controls.h"

class QWidget;

namespace morlane::gui::qt {

struct Shown {
  QWidget* widget = nullptr;
  std::optional<form::Rgb> backColor;  // as last applied
  bool backColorApplied = false;
  std::string fitted;  // labels: the caption last fitted
  bool cut = false;    // labels: the caption did not fit whole
};

// Touches only what differs, so that mirroring an unchanged control changes nothing on screen
// (an equal combo text keeps its cursor). Sends no signals of the widgets' own.
void Mirror(const form::Control& control, Shown& shown);

}  // namespace morlane::gui::qt
