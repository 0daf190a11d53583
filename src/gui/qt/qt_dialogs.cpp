#include "gui/qt/qt_dialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "gui/qt/text_codec.h"

namespace morlane::gui::qt {
namespace {

using platform::Buttons;
using platform::Choice;
using platform::Icon;

QMessageBox::Icon ToQt(Icon icon) {
  switch (icon) {
    case Icon::Critical:
      return QMessageBox::Critical;
    case Icon::Warning:
      return QMessageBox::Warning;
    case Icon::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton ToQt(Choice choice) {
  switch (choice) {
    case Choice::Ok:
      return QMessageBox::Ok;
    case Choice::Yes:
      return QMessageBox::Yes;
    case Choice::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

}  // namespace

Choice QtDialogService::ShowMessage(const platform::MessageRequest& request) {
  QMessageBox box(QApplication::activeWindow());
  box.setWindowTitle(request.title.empty() ? applicationTitle_ : FromAnsi(request.title));
  box.setTextFormat(Qt::PlainText);
  box.setText(MessageText(request.text));
  box.setIcon(ToQt(request.icon));

  const bool yesNo = request.buttons == Buttons::YesNo;
  box.setStandardButtons(yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
  // A default that is not among the buttons (Yes on an OK box) leaves Qt's own choice.
  if (QAbstractButton* button = box.button(ToQt(request.defaultButton))) {
    box.setDefaultButton(qobject_cast<QPushButton*>(button));
  }

  // A box shown while the window is busy (a store that fails or is refused) waits for the
  // user: the normal pointer over it, the busy one again afterwards.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  // Closing a Yes/No box without a button (Escape, close box) counts as No: the safe answer,
  // which keeps the window open.
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Yes:
      return Choice::Yes;
    case QMessageBox::No:
      return Choice::No;
    case QMessageBox::Ok:
      return Choice::Ok;
    default:
      return yesNo ? Choice::No : Choice::Ok;
  }
}

}  // namespace morlane::gui::qt
