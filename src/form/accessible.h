// What a screen reader says of the window's controls, the same on every view. Inline: the views
// see the form through its headers only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "form/controls.h"

namespace morlane::form {

// The label that names control n: for a row's position box the row's label; none for every
// other control.
inline std::optional<std::size_t> NamingLabel(const std::vector<Control>& controls, std::size_t n) {
  if (n >= controls.size() || controls[n].id.name != Name::ComboOrder) return std::nullopt;
  const ControlId label{Name::Label, controls[n].id.index};
  for (std::size_t k = 0; k < controls.size(); ++k) {
    if (controls[k].id == label) return k;
  }
  return std::nullopt;
}

// The name of control n: a position box's row label; a button's caption, or where it shows
// none its spoken name; any other control's caption. Windows-1252 text.
inline std::string AccessibleName(const std::vector<Control>& controls, std::size_t n) {
  if (n >= controls.size()) return {};
  const Control& c = controls[n];
  if (const auto label = NamingLabel(controls, n)) return controls[*label].caption;
  if (c.kind == Kind::CommandButton && c.caption.empty()) return c.spokenName;
  return c.caption;
}

}  // namespace morlane::form
