// The view on the real form model, over a project tree with real INI files: what the form
// loads shows, and clicks and edits in the window drive the model's handlers.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "form/form.h"
#include "gui/qt/form_view.h"
#include "support/project.h"

using morlane::form::frm_Morlane_Exe;
using morlane::form::Name;
using morlane::gui::qt::FormView;
using morlane::platform::Choice;

namespace {

const std::string kProgramIni =
    "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=1\r\nOrderOfServiceCounter3=7\r\n"
    "[Machine1]\r\nMachineName=<b>Filler</b>\r\n[Machine2]\r\nMachineName=Labeler\r\n"
    "[Machine3]\r\nMachineName=K\xe4serei\r\n";
const std::string kCfg = "[Project]\r\nForMachine1=true\r\nForMachine3=TRUE\r\n";

}  // namespace

class ViewWithModelTest : public QObject {
  Q_OBJECT

 private slots:
  void theWindowRunsTheLoadedForm() {
    morlane::testing::Project p;
    p.Write("parameter/Program.ini", kProgramIni);
    p.Write("Morlane/Morlane.cfg", kCfg);
    frm_Morlane_Exe form(p.session);
    form.Form_Load();
    FormView view(form);
    view.Open();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    const auto label = [&](int i) { return qobject_cast<QLabel*>(view.Widget({Name::Label, i})); };
    const auto combo = [&](int i) {
      return qobject_cast<QComboBox*>(view.Widget({Name::ComboOrder, i}));
    };
    auto* ok = view.Widget({Name::CommandOK});

    QCOMPARE(view.windowTitle(), QStringLiteral("Erweiterte Konfiguration Config - standalone"));
    QCOMPARE(label(1)->text(), QStringLiteral("Maschine 1  (<b>Filler</b>)"));
    QCOMPARE(label(3)->text(), QStringLiteral("Maschine 3  (Käserei)"));
    QCOMPARE(label(2)->text(), QStringLiteral("Maschine 2  ( none )"));
    QVERIFY(!label(2)->isEnabled() && !combo(2)->isEnabled());
    QCOMPARE(combo(2)->currentText(), QStringLiteral("-"));
    QCOMPARE(combo(3)->currentText(), QStringLiteral("7"));
    QCOMPARE(combo(1)->count(), 4);
    QVERIFY(ok->isEnabled());

    // Help mode: the button turns green and a label click shows the help text.
    QTest::mouseClick(view.Widget({Name::CommandQuest}), Qt::LeftButton);
    QVERIFY(p.session.HelpMode);
    QCOMPARE(view.Widget({Name::CommandQuest})->palette().color(QPalette::Button),
             QColor(0, 255, 0));
    p.dialogs.answers = {Choice::Ok};
    QTest::mouseClick(label(3), Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(p.dialogs.shown[0].title), QStringLiteral("Info:"));
    QTest::mouseClick(view.Widget({Name::CommandQuest}), Qt::LeftButton);
    QVERIFY(!p.session.HelpMode);
    QCOMPARE(view.Widget({Name::CommandQuest})->palette().color(QPalette::Button),
             QColor(192, 192, 192));

    // A duplicate typed into row 3 is refused: the store reads the typed text, the window
    // stays usable, the pointer is back and the program ini is untouched.
    combo(3)->lineEdit()->selectAll();
    QTest::keyClicks(combo(3)->lineEdit(), "1");
    QCOMPARE(form.ComboOrder(3).text, "1");
    p.dialogs.answers = {Choice::Ok};
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(p.dialogs.shown.size(), std::size_t{2});
    QCOMPARE(p.dialogs.shown[1].text, "Mehrfachnennungen nicht erlaubt!");
    QVERIFY(ok->isEnabled() && view.Widget({Name::CommandCancel})->isEnabled());
    QVERIFY(QApplication::overrideCursor() == nullptr);
    QCOMPARE(p.Read("parameter/Program.ini"), kProgramIni);
    QCOMPARE(combo(3)->currentText(), QStringLiteral("1"));
  }
};

QTEST_MAIN(ViewWithModelTest)
#include "view_with_model_test.moc"
