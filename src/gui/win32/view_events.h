// What the Win32 view uses of the form: its controls by position, and "control n clicked,
// focused, edited". Routes to the form's named handlers; the view itself holds no control
// names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "form/events.h"

namespace morlane::gui::win32 {

class ViewEvents {
 public:
  explicit ViewEvents(form::FormEvents& form) : form_(form) {}

  const std::vector<form::Control>& Controls() const { return form_.Controls(); }
  const std::string& Caption() const { return form_.Caption(); }
  bool BusyCursor() const { return form_.BusyCursor(); }
  void SetHost(form::FormHost* host) { form_.SetHost(host); }
  void Form_Activate() { form_.Form_Activate(); }
  void Form_Resize() { form_.Form_Resize(); }
  void Form_QueryUnload(bool& cancel, int unloadMode) {
    form_.Form_QueryUnload(cancel, unloadMode);
  }

  // A combo box: its chosen list entry changed.
  void Clicked(std::size_t n) {
    const form::Control& c = form_.Controls()[n];
    const int i = c.index.value_or(0);
    if (c.name == "CommandOK") form_.CommandOK_Click();
    if (c.name == "CommandCancel") form_.CommandCancel_Click();
    if (c.name == "CommandQuest") form_.CommandQuest_Click();
    if (c.name == "LabelServiceCounter") form_.LabelServiceCounter_Click();
    if (c.name == "FrameServiceCounter") form_.FrameServiceCounter_Click();
    if (c.name == "Label" && c.index) form_.Label_Click(i);
    if (c.name == "ComboOrder" && c.index) form_.ComboOrder_Click(i);
  }
  void Focused(std::size_t n) {
    const form::Control& c = form_.Controls()[n];
    if (c.name == "ComboOrder" && c.index) form_.ComboOrder_GotFocus(*c.index);
  }
  // A combo box's edit text changed, typed or picked.
  void Edited(std::size_t n, const std::string& text) { form_.Controls()[n].text = text; }

 private:
  form::FormEvents& form_;
};

}  // namespace morlane::gui::win32
