#include "form/model.h"

namespace morlane::form {

void FormModel::Clicked(std::size_t n) {
  if (n >= controls.size()) return;
  const ControlId id = controls[n].id;
  switch (id.name) {
    case Name::Label:
      Label_Click(id.index);
      break;
    case Name::ComboOrder:
      ComboOrder_Click(id.index);
      break;
    case Name::CommandOK:
      CommandOK_Click();
      break;
    case Name::CommandCancel:
      CommandCancel_Click();
      break;
    case Name::CommandQuest:
      CommandQuest_Click();
      break;
    case Name::LabelServiceCounter:
      LabelServiceCounter_Click();
      break;
    case Name::FrameServiceCounter:
      FrameServiceCounter_Click();
      break;
    case Name::MainFrame:
    case Name::Header:
      break;  // no handler
  }
}

void FormModel::Focused(std::size_t n) {
  if (n >= controls.size()) return;
  const ControlId id = controls[n].id;
  if (id.name == Name::ComboOrder) ComboOrder_GotFocus(id.index);
}

void FormModel::Edited(std::size_t n, const std::string& text) {
  if (n < controls.size() && controls[n].kind == Kind::ComboBox) controls[n].text = text;
}

}  // namespace morlane::form
