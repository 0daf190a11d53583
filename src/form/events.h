// What a view may see of the form and do to it. The Qt view lives in a separately loaded
// module, so it reaches the form only through this interface.
#pragma once

#include <string>
#include <vector>

#include "form/controls.h"

namespace morlane::form {

// What the form needs from whoever shows it.
class FormHost {
 public:
  virtual ~FormHost() = default;
  // Mirror the form's controls, caption and cursor now.
  virtual void Sync() {}
  // Let the window handle the events that are waiting, once.
  virtual void ProcessPendingEvents() {}
};

class FormEvents {
 public:
  virtual ~FormEvents() = default;

  // The controls in creation order; the view writes a combo box's edited text into `text`.
  virtual std::vector<Control>& Controls() = 0;
  virtual const std::string& Caption() const = 0;
  virtual bool BusyCursor() const = 0;
  virtual void SetHost(FormHost* host) = 0;

  virtual void Form_Activate() = 0;
  virtual void Form_Resize() = 0;
  virtual void Form_QueryUnload(bool& cancel, int unloadMode) = 0;
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
