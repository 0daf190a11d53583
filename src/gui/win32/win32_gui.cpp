// The native Windows GUI: message boxes through MessageBoxA and the window of the form, both
// taking the core's Windows-1252 text as it is. It is the Windows program's GUI provider,
// linked into the executable and started on first use.

#include <windows.h>

#include <string>

#include "gui/win32/form_window.h"
#include "platform/backend.h"

namespace morlane::gui::win32 {
namespace {

using platform::Buttons;
using platform::Choice;
using platform::Icon;
using platform::MessageRequest;

std::string LastError() {
  return "error " + std::to_string(::GetLastError());
}

UINT IconFlag(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return MB_ICONHAND;
    case Icon::Warning:
      return MB_ICONEXCLAMATION;
    case Icon::Information:
      return MB_ICONASTERISK;
  }
  return 0;
}

class Win32Gui final : public platform::GuiModule {
 public:
  explicit Win32Gui(std::string title) : title_(std::move(title)) {}

  Choice ShowMessage(const MessageRequest& request) override {
    const bool yesNo = request.buttons == Buttons::YesNo;
    UINT flags = IconFlag(request.icon) | (yesNo ? MB_YESNO : MB_OK) | MB_SETFOREGROUND;
    if (yesNo && request.defaultButton == Choice::No) flags |= MB_DEFBUTTON2;
    // Modal to the window while it is there; before it, the box stands for the program.
    const HWND owner = window_ != nullptr && ::IsWindow(window_) ? window_ : nullptr;
    if (owner == nullptr) flags |= MB_TASKMODAL;
    const std::string& title = request.title.empty() ? title_ : request.title;
    switch (::MessageBoxA(owner, request.text.c_str(), title.c_str(), flags)) {
      case IDYES:
        return Choice::Yes;
      case IDNO:
        return Choice::No;
      case IDOK:
        return Choice::Ok;
      case 0:   // Windows' failure
      case -1:  // Wine's, as its dialog boxes fail
        // No interactive desktop (a scheduled task, a service): the run ends as without one.
        throw platform::GuiUnavailable{"no interactive desktop: a message box cannot be shown (" +
                                       LastError() + ")"};
      default:
        return yesNo ? Choice::No : Choice::Ok;
    }
  }

  platform::ExitStatus RunWindow(form::FormEvents& form) override {
    FormWindow window(form);
    failure_.clear();
    if (!window.Create()) {
      failure_ = window.Failure();
      return platform::ExitStatus::NotStored;
    }
    window_ = window.Handle();
    window.Open();
    // Ends when the window is destroyed, which it allows only once Form_QueryUnload agreed.
    window.Run();
    window_ = nullptr;
    return platform::ExitStatus::Stored;
  }

  std::string WindowFailure() const override { return failure_; }

 private:
  std::string title_;
  HWND window_ = nullptr;
  std::string failure_;
};

// Windows always has a desktop to show the window on.
class Win32GuiProvider final : public platform::GuiProvider {
 public:
  explicit Win32GuiProvider(platform::ProcessServices& process) : process_(process) {}
  bool DisplayAvailable() const override { return true; }
  platform::GuiModule* Gui() override {
    if (!gui_) gui_ = std::make_unique<Win32Gui>(process_.ExecutableBaseName());
    return gui_.get();
  }

 private:
  platform::ProcessServices& process_;
  std::unique_ptr<platform::GuiModule> gui_;
};

}  // namespace
}  // namespace morlane::gui::win32

namespace morlane::platform {

// argc/argv are for a toolkit that wants them; the native window does not.
std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int&, char**) {
  return std::make_unique<gui::win32::Win32GuiProvider>(process);
}

}  // namespace morlane::platform
