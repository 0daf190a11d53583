#include "form/model.h"

namespace morlane::form {

void FormModel::Clicked(std::size_t n) {
  if (n >= controls.size()) return;
  const Control& c = controls[n];
  if (c.index) {
    if (c.name == "Label") {
      Label_Click(*c.index);
    } else if (c.name == "ComboOrder") {
      ComboOrder_Click(*c.index);
    }
  } else if (c.name == "CommandOK") {
    CommandOK_Click();
  } else if (c.name == "CommandCancel") {
    CommandCancel_Click();
  } else if (c.name == "CommandQuest") {
    CommandQuest_Click();
  } else if (c.name == "LabelServiceCounter") {
    LabelServiceCounter_Click();
  } else if (c.name == "FrameServiceCounter") {
    FrameServiceCounter_Click();
  }
}

void FormModel::Focused(std::size_t n) {
  if (n >= controls.size()) return;
  const Control& c = controls[n];
  if (c.index && c.name == "ComboOrder") ComboOrder_GotFocus(*c.index);
}

void FormModel::Edited(std::size_t n, const std::string& text) {
  if (n < controls.size() && controls[n].kind == Kind::ComboBox) controls[n].text = text;
}

}  // namespace morlane::form
