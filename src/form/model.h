// The form's side of FormEvents shared by every form model: the controls as data, and the
// routing of a view's "control n clicked / focused / edited" to the named handlers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/events.h"

namespace morlane::form {

class FormModel : public FormEvents {
 public:
  std::vector<Control> controls = CreateControls();

  const std::vector<Control>& Controls() const final { return controls; }
  // Routed by the control's name and index; a control without a handler of that event, or a
  // position outside the controls, does nothing.
  void Clicked(std::size_t n) final;
  void Focused(std::size_t n) final;
  // The model keeps the text: the store reads it.
  void Edited(std::size_t n, const std::string& text) final;

  virtual void CommandOK_Click() = 0;
  virtual void CommandCancel_Click() = 0;
  virtual void CommandQuest_Click() = 0;
  virtual void LabelServiceCounter_Click() = 0;
  virtual void FrameServiceCounter_Click() = 0;
  virtual void Label_Click(int index) = 0;
  virtual void ComboOrder_Click(int index) = 0;
  virtual void ComboOrder_GotFocus(int index) = 0;
};

}  // namespace morlane::form
