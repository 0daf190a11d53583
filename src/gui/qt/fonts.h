// The fonts of the layout as this system can show them.
#pragma once

#include <QFont>
#include <QString>
#include <optional>

#include "form/controls.h"

namespace morlane::gui::qt {

// The family that shows `designed` best here: the family itself where it is installed as an
// outline font; for "MS Sans Serif" else Tahoma, registered from Debian's fonts-wine where it
// is not installed; else the system's general font.
QString LayoutFamily(const QString& designed);

// The font of a control: its family as LayoutFamily() finds it, at its size and weight; none
// (the default dialog font) when the control names no family.
std::optional<QFont> FontOf(const form::Font& font);

}  // namespace morlane::gui::qt
