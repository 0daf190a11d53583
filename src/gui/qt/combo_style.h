// The style of the order combos: the platform's, with an arrow narrow enough for the digit.
#pragma once

class QStyle;

namespace morlane::gui::qt {

// Shared by every view and kept as long as the application.
QStyle* NarrowArrowComboStyle();

}  // namespace morlane::gui::qt
