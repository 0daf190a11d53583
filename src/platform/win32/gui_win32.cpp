#include "platform/win32/gui_win32.h"

#include "gui/win32/win32_gui.h"

namespace morlane::platform::win32 {

Win32GuiProvider::~Win32GuiProvider() = default;

GuiModule* Win32GuiProvider::Gui() {
  if (!gui_) gui_ = gui::win32::MakeGui(process_.ExecutableBaseName());
  return gui_.get();
}

}  // namespace morlane::platform::win32
