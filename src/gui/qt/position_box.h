// The order combo boxes show whole numbers of 16 bits, the positions the program reads and
// stores: each box is made wide enough for every one of them, and its list for its entries.
#pragma once

#include <cstddef>

#include "form/controls.h"

class QComboBox;

namespace morlane::gui::qt {

// Room is first won inside the box (a narrow arrow, see combo_style.h); where that is not
// enough for "-32768" in the box's font, the box grows as the form's box rule says.
// At the layout's dots per inch.
void FitPositionBox(const std::vector<form::Control>& controls, std::size_t n, int dpi,
                    QComboBox* combo);

// The drop-down list at least as wide as its widest entry (scroll bar included).
void FitListToEntries(QComboBox* combo);

}  // namespace morlane::gui::qt
