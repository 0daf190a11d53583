// The native Windows GUI: message boxes through MessageBoxA and the window of the form, both
// taking the core's Windows-1252 text as it is.
#pragma once

#include <memory>
#include <string>

#include "platform/gui.h"

namespace morlane::gui::win32 {

// applicationTitle: the title of a message box that names none (the executable's base name).
std::unique_ptr<platform::GuiModule> MakeGui(const std::string& applicationTitle);

}  // namespace morlane::gui::win32
