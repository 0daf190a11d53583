// The order combo boxes show whole numbers of 16 bits, the positions the program reads and
// stores: each box is made wide enough for every one of them, and its list for its entries.
#pragma once

class QComboBox;

namespace morlane::gui::qt {

// Room is first won inside the box (a narrow arrow, see combo_style.h); where that is not
// enough for "-32768" in the box's font, the box grows to the right, within its container and
// up to the next control on its right, never over it. Call once the box's siblings exist.
void FitPositionBox(QComboBox* combo);

// The drop-down list at least as wide as its widest entry (scroll bar included).
void FitListToEntries(QComboBox* combo);

}  // namespace morlane::gui::qt
