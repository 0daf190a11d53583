#include "gui/win32/win32_gui.h"

#include <windows.h>

#include <string>

#include "gui/win32/form_window.h"

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
    if (!window.Create()) {
      throw platform::GuiUnavailable{"no interactive desktop: the window cannot be created (" +
                                     LastError() + ")"};
    }
    window_ = window.Handle();
    window.Open();
    // Ends when the window is destroyed, which it allows only once Form_QueryUnload agreed.
    window.Run();
    window_ = nullptr;
    return platform::ExitStatus::Stored;
  }

 private:
  std::string title_;
  HWND window_ = nullptr;
};

}  // namespace

std::unique_ptr<platform::GuiModule> MakeGui(const std::string& applicationTitle) {
  return std::make_unique<Win32Gui>(applicationTitle);
}

}  // namespace morlane::gui::win32
