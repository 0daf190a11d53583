// The real message boxes, and the text conversion at the GUI boundary.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "gui/qt/gui_module.h"
#include "gui/qt/qt_dialogs.h"
#include "gui/qt/text_codec.h"

using morlane::gui::qt::FromAnsi;
using morlane::gui::qt::MessageText;
using morlane::gui::qt::QtDialogService;
using morlane::gui::qt::ToAnsi;
using morlane::platform::Buttons;
using morlane::platform::Choice;
using morlane::platform::Icon;
using morlane::platform::MessageRequest;

namespace {

// What the box looked like when it came up.
struct Seen {
  QString title, text;
  Qt::TextFormat format = Qt::AutoText;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
  Qt::CursorShape pointer = Qt::ArrowCursor;  // the application's pointer over the box
};

// Shows the request through `show`, records the box once it is up, then answers it with
// `press` (a button, or Escape when NoButton).
Choice Drive(const std::function<Choice()>& show, QMessageBox::StandardButton press, Seen& seen) {
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) return;
    poll.stop();
    seen = {box->windowTitle(),
            box->text(),
            box->textFormat(),
            box->icon(),
            box->standardButtons(),
            box->defaultButton() != nullptr ? box->standardButton(box->defaultButton())
                                            : QMessageBox::NoButton};
    if (const QCursor* cursor = QApplication::overrideCursor()) seen.pointer = cursor->shape();
    if (press == QMessageBox::NoButton) {
      QTest::keyClick(box, Qt::Key_Escape);
    } else {
      box->button(press)->click();
    }
  });
  poll.start();
  return show();
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void messageBoxesShowWhatWasAsked() {
    QtDialogService dialogs("Morlane_Config");
    Seen seen;

    // The cancel question: Yes/No, warning, No as default; LF CR breaks become lines.
    const MessageRequest cancel{"Cancel edits?\n\rRemark:", "Cancel?", Buttons::YesNo,
                                Icon::Warning, Choice::No};
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(cancel); }, QMessageBox::Yes, seen),
             Choice::Yes);
    QCOMPARE(seen.title, QStringLiteral("Cancel?"));
    QCOMPARE(seen.text, QStringLiteral("Cancel edits?\nRemark:"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(seen.defaultButton, QMessageBox::No);
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(cancel); }, QMessageBox::No, seen), Choice::No);
    // Escape is the safe answer.
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(cancel); }, QMessageBox::NoButton, seen),
             Choice::No);

    // The error dialog: Yes as default, critical icon, the application's title.
    const MessageRequest error{"Fehler in <b>GetCFGPath</b>", "", Buttons::YesNo, Icon::Critical,
                               Choice::Yes};
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(error); }, QMessageBox::No, seen), Choice::No);
    QCOMPARE(seen.title, QStringLiteral("Morlane_Config"));
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.defaultButton, QMessageBox::Yes);
    QCOMPARE(seen.text, QStringLiteral("Fehler in <b>GetCFGPath</b>"));
    QCOMPARE(seen.format, Qt::PlainText);

    // A help text: OK only, information icon, CR LF breaks, 1252 letters.
    const MessageRequest help{"Z\xe4hler\r\nzweite Zeile\r\n", "Info:", Buttons::Ok,
                              Icon::Information, Choice::Ok};
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(help); }, QMessageBox::Ok, seen), Choice::Ok);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(seen.icon, QMessageBox::Information);
    QCOMPARE(seen.text, QStringLiteral("Zähler\nzweite Zeile\n"));
    QCOMPARE(Drive([&] { return dialogs.ShowMessage(help); }, QMessageBox::NoButton, seen),
             Choice::Ok);
  }

  void aBoxShownWhileBusyHasTheNormalPointer() {
    QtDialogService dialogs("Morlane_Config");
    Seen seen;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const MessageRequest refused{"Mehrfachnennungen nicht erlaubt!", "", Buttons::Ok, Icon::Warning,
                                 Choice::Ok};
    Drive([&] { return dialogs.ShowMessage(refused); }, QMessageBox::Ok, seen);
    QCOMPARE(seen.pointer, Qt::ArrowCursor);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QApplication::restoreOverrideCursor();
    QVERIFY(QApplication::overrideCursor() == nullptr);
  }

  void theModuleUsesTheApplicationTitle() {
    int argc = 0;
    auto* gui = morlane_gui_create("Z\xe4hler_Config", &argc, nullptr);
    QVERIFY(gui != nullptr);
    QCOMPARE(QApplication::instance(), qApp);  // the existing application was kept
    Seen seen;
    const MessageRequest request{"Nur ganze Zahlen erlaubt!", "", Buttons::Ok, Icon::Warning,
                                 Choice::Ok};
    QCOMPARE(Drive([&] { return gui->ShowMessage(request); }, QMessageBox::Ok, seen), Choice::Ok);
    QCOMPARE(seen.title, QStringLiteral("Zähler_Config"));
    QCOMPARE(seen.icon, QMessageBox::Warning);
  }

  void windows1252AtTheBoundary() {
    QCOMPARE(FromAnsi("Servicez\xe4hler"), QStringLiteral("Servicezähler"));
    QCOMPARE(FromAnsi("\x80 \x84\x93\x94 \xdf"), QStringLiteral("€ „“” ß"));
    QCOMPARE(ToAnsi(QStringLiteral("Servicezähler €")), std::string("Servicez\xe4hler \x80"));
    // Every byte survives the way to Qt and back, the five undefined ones included.
    std::string all;
    for (int b = 1; b < 256; ++b)
      all += static_cast<char>(b);
    QCOMPARE(ToAnsi(FromAnsi(all)), all);
    // What the code page lacks becomes "?", one per character (a surrogate pair is one).
    QCOMPARE(ToAnsi(QStringLiteral("aΩb😀c")), std::string("a?b?c"));
    // A text without any of 0x80..0x9F takes a shorter way; it must agree with the converter,
    // which a "\x80" in the same text brings in.
    for (int b = 1; b < 256; ++b) {
      const std::string alone(1, static_cast<char>(b));
      const QString decoded = FromAnsi(alone);
      QCOMPARE(decoded, FromAnsi(alone + "\x80").chopped(1));
      QCOMPARE(ToAnsi(decoded), alone);
      QCOMPARE(ToAnsi(decoded + QChar(0x20AC)), alone + "\x80");
    }
  }

  void messageLineBreaks() {
    QCOMPARE(MessageText("a\n\rb\r\nc"), QStringLiteral("a\nb\nc"));
    QCOMPARE(MessageText("a\n\r\n\rb"), QStringLiteral("a\n\nb"));
    QCOMPARE(MessageText("a\r\n\r\nb"), QStringLiteral("a\n\nb"));
    QCOMPARE(MessageText("a\rb\nc"), QStringLiteral("a\nb\nc"));
    QCOMPARE(MessageText("\n\r"), QStringLiteral("\n"));
    // A path's marks show as their characters; a byte that is no UTF-8 keeps its mark.
    QCOMPARE(MessageText("File not found: \n\r/p/Zak<U+0142>ad \xf3<U+1F600>/<U+DCFF><U+12>"),
             QStringLiteral("File not found: \n/p/Zakład ó😀/<U+DCFF><U+12>"));
  }
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
