#include "platform/win32/gui_loader_win32.h"

#include <windows.h>

#include <string>

namespace morlane::platform::win32 {

GuiModule* Win32GuiProvider::Gui() {
  if (tried_) return gui_;
  tried_ = true;
  std::string directory = process_.ApplicationDirectory();
  if (!directory.empty() && directory.back() != '\\') directory += '\\';
  const std::string path = directory + kGuiModuleFile;
  // The module stays loaded for the rest of the process. Its Qt DLLs are found beside the
  // program, the first place Windows searches.
  const HMODULE module = ::LoadLibraryA(path.c_str());
  if (module == nullptr) {
    process_.WriteDiagnostic(process_.ExecutableBaseName() + ": cannot load the window (" + path +
                             ", error " + std::to_string(::GetLastError()) + ")\n");
    return nullptr;
  }
  const FARPROC symbol = ::GetProcAddress(module, MORLANE_GUI_CREATE_SYMBOL);
  if (symbol == nullptr) {
    process_.WriteDiagnostic(process_.ExecutableBaseName() + ": " + path +
                             " is not the window module of this program\n");
    return nullptr;
  }
  // Through void (*)(), which converts to any function pointer without a warning.
  const auto create = reinterpret_cast<MorlaneGuiCreateFn>(reinterpret_cast<void (*)()>(symbol));
  gui_ = create(process_.ExecutableBaseName().c_str(), &argc_, argv_);
  return gui_;
}

}  // namespace morlane::platform::win32
