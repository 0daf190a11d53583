// frm_Morlane_Exe: the one window as a model. It holds the controls and runs every handler;
// a view mirrors the controls and forwards clicks, focus changes, edits and close requests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/events.h"
#include "form/model.h"

namespace morlane {
class Routine;
class Session;
}  // namespace morlane

namespace morlane::form {

// What became of the positions typed into the window.
enum class InputsOutcome {
  Refused,  // not stored: a duplicate, a non-number, or a failed write; the window stays open
  Stored,   // every position and the edit stamp were written
};

// A row's position as typed; only rows of enabled combo boxes take part.
struct RowInput {
  bool taking = false;
  std::optional<int> position;  // none: not a whole number of 16 bits
};

class frm_Morlane_Exe final : public FormModel {
 public:
  explicit frm_Morlane_Exe(Session& session);
  frm_Morlane_Exe(const frm_Morlane_Exe&) = delete;
  frm_Morlane_Exe& operator=(const frm_Morlane_Exe&) = delete;

  // The view's side.
  const std::string& Caption() const override { return caption; }
  bool BusyCursor() const override { return busyCursor; }
  void SetHost(FormHost* host) override { host_ = host; }

  // Window state mirrored by the view, besides the controls.
  std::string caption = "Base M4TCFG-Erweiterung";
  bool busyCursor = false;
  std::string ConfigurationIniPath;

  // Controls by id; an array element outside 1..kRows is a failure (subscript out of range).
  Control& At(ControlId id);
  Control& Label(int index) { return At({Name::Label, index}); }
  Control& ComboOrder(int index) { return At({Name::ComboOrder, index}); }
  Control& CommandOK() { return At({Name::CommandOK}); }
  Control& CommandCancel() { return At({Name::CommandCancel}); }
  Control& CommandQuest() { return At({Name::CommandQuest}); }

  // Lifecycle.
  void Form_Load();
  void Form_Activate() override;
  void Form_Resize() override;
  // cancel: in/out; set to true to keep the window open. The kind of request is not looked at.
  void Form_QueryUnload(bool& cancel, int unloadMode) override;
  void CommandOK_Click() override;
  void CommandCancel_Click() override;
  void CloseMe();

  // The order editor.
  void SetupUserInterFace();
  InputsOutcome WriteInputs();

  // Context help.
  void CommandQuest_Click() override;
  void LabelServiceCounter_Click() override;
  void FrameServiceCounter_Click() override;
  void Label_Click(int index) override;
  void ComboOrder_Click(int index) override;
  void ComboOrder_GotFocus(int index) override;

 private:
  bool IsValidMachine(int n, const std::string& validMachines);
  void DisableRow(Routine& routine, int n);
  // The three steps of WriteInputs.
  std::vector<RowInput> ReadRows(Routine& routine, int rows);
  bool RefuseInputs(Routine& routine, const std::vector<RowInput>& inputs);
  void FocusRefusedRow();
  InputsOutcome StoreAndStamp(Routine& routine, const std::string& validMachines, int rows);
  void Sync();

  Session& session_;
  FormHost* host_ = nullptr;
  // The row a refused store found at fault: the user is taken there.
  std::optional<int> refusedRow_;
};

}  // namespace morlane::form
