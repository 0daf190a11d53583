#include "gui/qt/gui_module.h"

#include <QApplication>

#include "gui/qt/form_view.h"
#include "gui/qt/qt_dialogs.h"
#include "gui/qt/text_codec.h"

namespace morlane::gui::qt {
namespace {

class QtGuiModule final : public platform::GuiModule {
 public:
  explicit QtGuiModule(const QString& title) : dialogs_(title) {}

  platform::Choice ShowMessage(const platform::MessageRequest& request) override {
    return dialogs_.ShowMessage(request);
  }

  platform::ExitStatus RunWindow(form::FormEvents& form) override {
    FormView view(form);
    view.Open();
    // The event loop ends when the last window closes, which the view allows only once
    // Form_QueryUnload has agreed.
    QApplication::exec();
    return platform::ExitStatus::Stored;
  }

 private:
  QtDialogService dialogs_;
};

}  // namespace
}  // namespace morlane::gui::qt

extern "C" morlane::platform::GuiModule* morlane_gui_create(const char* applicationTitle, int* argc,
                                                            char** argv) {
  using namespace morlane::gui::qt;
  const QString title = FromAnsi(applicationTitle != nullptr ? applicationTitle : "");
  if (QApplication::instance() == nullptr) {
    // Never destroyed: the process ends at once after the window (as the form requires).
    new QApplication(*argc, argv);
    // Only the name, not the display name: Qt would append a display name to every window
    // title, and the window and the boxes must show their titles unchanged.
    QApplication::setApplicationName(title);
  }
  static QtGuiModule* module = new QtGuiModule(title);
  return module;
}
