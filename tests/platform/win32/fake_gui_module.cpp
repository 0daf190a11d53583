// A stand-in for the Qt window module (morlane_gui.dll), so that loading it beside the program
// can be tested without Qt for Windows. It answers Yes to a message whose text is the title it
// was created with, No to any other.
#include "platform/gui.h"

namespace {

class FakeGui : public morlane::platform::GuiModule {
 public:
  std::string title;
  morlane::platform::Choice ShowMessage(const morlane::platform::MessageRequest& r) override {
    return r.text == title ? morlane::platform::Choice::Yes : morlane::platform::Choice::No;
  }
  morlane::platform::ExitStatus RunWindow(morlane::form::FormEvents&) override {
    return morlane::platform::ExitStatus::Stored;
  }
};

}  // namespace

extern "C" __declspec(dllexport) morlane::platform::GuiModule* morlane_gui_create(
    const char* applicationTitle, int*, char**) {
  static FakeGui gui;
  gui.title = applicationTitle;
  return &gui;
}
