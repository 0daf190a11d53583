// What a view may see of the form and do to it. A view reaches the form only through this
// interface: it mirrors the controls and reports what the user did to control n.
#pragma once

#include <cstddef>
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
  // Put the keyboard focus on control n, as the form's own doing (no focus event comes back).
  virtual void FocusControl(std::size_t /*n*/) {}
};

class FormEvents {
 public:
  virtual ~FormEvents() = default;
  // The controls in creation order; a view addresses a control by its position n here.
  virtual const std::vector<Control>& Controls() const = 0;
  virtual const std::string& Caption() const = 0;
  virtual bool BusyCursor() const = 0;
  virtual void SetHost(FormHost* host) = 0;
  virtual void Form_Activate() = 0;
  virtual void Form_Resize() = 0;
  // cancel: in/out; set to true to keep the window open. unloadMode is not looked at.
  virtual void Form_QueryUnload(bool& cancel, int unloadMode) = 0;
  // Control n was clicked (a combo box: its chosen list entry changed by mouse or keyboard).
  virtual void Clicked(std::size_t n) = 0;
  // Control n got the keyboard focus.
  virtual void Focused(std::size_t n) = 0;
  // The user changed the edit text of combo box n (typed or picked from its list).
  virtual void Edited(std::size_t n, const std::string& text) = 0;
};

}  // namespace morlane::form
