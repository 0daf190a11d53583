// Message boxes with Qt.
#pragma once

#include <QString>

#include "platform/dialog.h"

namespace morlane::gui::qt {

class QtDialogService : public platform::DialogService {
 public:
  // applicationTitle: the title of a box whose request gives none.
  explicit QtDialogService(QString applicationTitle)
      : applicationTitle_(std::move(applicationTitle)) {}

  // A modal QMessageBox over the active window (if any); every text is plain text.
  platform::Choice ShowMessage(const platform::MessageRequest& request) override;

 private:
  QString applicationTitle_;
};

}  // namespace morlane::gui::qt
