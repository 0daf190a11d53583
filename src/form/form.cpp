#include "form/form.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "config/editinfo.h"
#include "config/ini.h"
#include "config/locations.h"
#include "config/machines.h"
#include "errors/failure.h"
#include "errors/report.h"
#include "errors/routine.h"
#include "form/cancel.h"
#include "form/help.h"
#include "form/texts.h"
#include "platform/dialog.h"
#include "runctx/command.h"
#include "runctx/locations.h"
#include "runctx/session.h"
#include "text/cp1252.h"

namespace morlane::form {
namespace {

// The text of a row without a machine with a service counter.
const std::string kNoPosition = "-";

// A row's text as a whole number: optional blanks, an optional sign, decimal digits, and a
// value within 16 bits. Anything else is no position.
std::optional<int> WholeNumber(const std::string& text) {
  const std::string trimmed = text::TrimBlanks(text);
  std::string_view s = trimmed;
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  if (s.empty() || s.front() == '+') return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value < -32768 || value > 32767) return std::nullopt;
  return value;
}

// The first row that is not a whole number; rows are numbered as the inputs are indexed.
std::optional<int> FirstNonNumber(const std::vector<RowInput>& inputs) {
  for (std::size_t n = 0; n < inputs.size(); ++n) {
    if (inputs[n].taking && !inputs[n].position) return static_cast<int>(n);
  }
  return std::nullopt;
}

// The first row whose position another row repeats. Positions are compared by value: "2" and
// "02" are the same position; zero may repeat.
std::optional<int> FirstDuplicate(const std::vector<RowInput>& inputs) {
  for (std::size_t n = 0; n < inputs.size(); ++n) {
    const auto& position = inputs[n].position;
    if (!position || *position == 0) continue;
    for (std::size_t k = n + 1; k < inputs.size(); ++k) {
      if (inputs[k].position == position) return static_cast<int>(n);
    }
  }
  return std::nullopt;
}

}  // namespace

frm_Morlane_Exe::frm_Morlane_Exe(Session& session) : session_(session) {}

Control& frm_Morlane_Exe::At(ControlId id) {
  const auto it =
      std::find_if(controls.begin(), controls.end(), [&](const Control& c) { return c.id == id; });
  if (it != controls.end()) return *it;
  if (IsArray(id.name)) throw Failure::SubscriptOutOfRange();
  throw Failure::InvalidArgument();
}

void frm_Morlane_Exe::Sync() {
  if (host_ != nullptr) host_->Sync();
}

// ---- Lifecycle -------------------------------------------------------------------------------

void frm_Morlane_Exe::Form_Load() {
  Routine routine(session_, "Form_Load");
  routine.Step([&] { LoadToolTipTexts(session_, controls); });
  routine.Step([&] { ConfigurationIniPath = GetM4TConfigurationIniPath(session_); });
  routine.Step([&] {
    const bool integrated = GetStartModeIntegrated(session_);
    caption = "Erweiterte Konfiguration " +
              GetFileNameOnly(session_, session_.process.ApplicationDirectory()) +
              (integrated ? " - integriert" : " - standalone");
  });
  routine.Step([&] { GetExistingMachines(session_, ConfigurationIniPath); });
  routine.Step([&] { SetupUserInterFace(); });
  if (routine.Test([&] { return session_.SilentMode; })) {
    routine.Step([&] { CommandOK_Click(); });
  } else {
    routine.Step([&] { CommandOK().enabled = true; });
    routine.Step([&] { CommandCancel().enabled = true; });
  }
  Sync();
}

void frm_Morlane_Exe::Form_Activate() {
  Routine routine(session_, "Form_Activate");
  routine.Step([&] { CommandOK().enabled = true; });
  Sync();
}

void frm_Morlane_Exe::Form_Resize() {
  // The layout is fixed: nothing moves.
  Routine routine(session_, "Form_Resize");
}

void frm_Morlane_Exe::Form_QueryUnload(bool& cancel, int /*unloadMode*/) {
  Routine routine(session_, "Form_QueryUnload");
  if (routine.Test([&] { return !ConfirmCancel(session_); })) cancel = true;
}

void frm_Morlane_Exe::CommandOK_Click() {
  Routine routine(session_, "CommandOK_Click");
  if (routine.Test([&] { return session_.HelpMode; })) {
    routine.Step([&] { ShowHelpText(session_, CommandOK()); });
    return;
  }
  routine.Step([&] { CommandOK().enabled = false; });
  routine.Step([&] { CommandCancel().enabled = false; });
  Sync();
  routine.Step([&] { CloseMe(); });
}

void frm_Morlane_Exe::CommandCancel_Click() {
  Routine routine(session_, "CommandCancel_Click");
  if (routine.Test([&] { return session_.HelpMode; })) {
    routine.Step([&] { ShowHelpText(session_, CommandCancel()); });
    return;
  }
  if (routine.Test([&] { return ConfirmCancel(session_); })) {
    EndProgram(session_, platform::ExitStatus::Stored);
  }
}

void frm_Morlane_Exe::CloseMe() {
  Routine routine(session_, "CloseMe");
  routine.Step([&] {
    if (host_ != nullptr) host_->ProcessPendingEvents();
  });
  routine.Step([&] { busyCursor = true; });
  Sync();
  refusedRow_.reset();
  if (routine.Test([&] { return WriteInputs() == InputsOutcome::Refused; })) {
    routine.Step([&] { CommandOK().enabled = true; });
    routine.Step([&] { CommandCancel().enabled = true; });
    busyCursor = false;
    Sync();
    FocusRefusedRow();
    return;
  }
  busyCursor = false;
  Sync();
  EndProgram(session_, platform::ExitStatus::Stored);
}

// The user lands where the fault is: on the box that is not a whole number, or on the first of
// the boxes that give the same position.
void frm_Morlane_Exe::FocusRefusedRow() {
  if (!refusedRow_ || host_ == nullptr) return;
  const Control& box = ComboOrder(*refusedRow_);
  host_->FocusControl(static_cast<std::size_t>(&box - controls.data()));
}

// ---- The order editor ------------------------------------------------------------------------

bool frm_Morlane_Exe::IsValidMachine(int n, const std::string& validMachines) {
  if (GetStartModeIntegrated(session_)) {
    const std::string valid = text::UpperCase1252(validMachines);
    return valid == "ALL" ||
           valid.find(text::UpperCase1252(session_.MachineNames.at(static_cast<std::size_t>(n)))) !=
               std::string::npos;
  }
  return LoadIniBoolean(session_, "Project", "ForMachine" + std::to_string(n),
                        GetCFGPath(session_));
}

void frm_Morlane_Exe::DisableRow(Routine& routine, int n) {
  routine.Step([&] { Label(n).enabled = false; });
  routine.Step([&] { Label(n).caption += "  ( none )"; });
  routine.Step([&] { ComboOrder(n).text = kNoPosition; });
  routine.Step([&] { ComboOrder(n).enabled = false; });
}

void frm_Morlane_Exe::SetupUserInterFace() {
  Routine routine(session_, "SetupUserInterFace");
  std::string validMachines;
  routine.Step([&] { validMachines = GetValidMachines(session_); });
  const int machines = session_.NumberOfMachines();
  // Rows exist for machines 1 to 5 only; machines above get none.
  const int rows = std::min(machines, kRows);
  for (int n = 1; n <= rows; ++n) {
    if (routine.Test([&] { return IsValidMachine(n, validMachines); })) {
      routine.Step([&] {
        auto& items = ComboOrder(n).items;
        for (int k = 0; k <= machines; ++k)
          items.push_back(std::to_string(k));
      });
      routine.Step([&] { Label(n).enabled = true; });
      routine.Step([&] {
        Label(n).caption += "  (" + session_.MachineNames.at(static_cast<std::size_t>(n)) + ")";
      });
      routine.Step([&] {
        ComboOrder(n).text = std::to_string(
            LoadIniInteger(session_, "Project", "OrderOfServiceCounter" + std::to_string(n),
                           GetProgramIniPath(session_, IniAccess::Read)));
      });
      routine.Step([&] { ComboOrder(n).enabled = true; });
    } else {
      DisableRow(routine, n);
    }
  }
  for (int n = rows + 1; n <= kRows; ++n)
    DisableRow(routine, n);
  Sync();
}

InputsOutcome frm_Morlane_Exe::WriteInputs() {
  Routine routine(session_, "WriteInputs");
  std::string validMachines;
  routine.Step([&] { validMachines = GetValidMachines(session_); });
  const int rows = std::min(session_.NumberOfMachines(), kRows);
  if (RefuseInputs(routine, ReadRows(routine, rows))) return InputsOutcome::Refused;
  return StoreAndStamp(routine, validMachines, rows);
}

std::vector<RowInput> frm_Morlane_Exe::ReadRows(Routine& routine, int rows) {
  std::vector<RowInput> inputs(static_cast<std::size_t>(rows) + 1);
  for (int n = 1; n <= rows; ++n) {
    RowInput& input = inputs[static_cast<std::size_t>(n)];
    routine.Step([&] { input.taking = ComboOrder(n).enabled; });
    if (input.taking) routine.Step([&] { input.position = WholeNumber(ComboOrder(n).text); });
  }
  return inputs;
}

// Every taking row must hold a whole number, and no two the same position, before anything is
// stored.
bool frm_Morlane_Exe::RefuseInputs(Routine& routine, const std::vector<RowInput>& inputs) {
  const auto nonNumber = FirstNonNumber(inputs);
  const auto duplicate = nonNumber ? std::nullopt : FirstDuplicate(inputs);
  const char* refusal = nonNumber   ? "Nur ganze Zahlen erlaubt!"
                        : duplicate ? "Mehrfachnennungen nicht erlaubt!"
                                    : nullptr;
  if (refusal == nullptr) return false;
  refusedRow_ = nonNumber ? nonNumber : duplicate;
  routine.Step([&] {
    session_.dialogs.ShowMessage(
        {refusal, "", platform::Buttons::Ok, platform::Icon::Warning, platform::Choice::Ok});
  });
  return true;
}

// Stores every valid row; a row that cannot be written is reported, and then neither the stamp
// is written nor the store claimed. Without a program ini to write to there is one report, not
// one per row.
InputsOutcome frm_Morlane_Exe::StoreAndStamp(Routine& routine, const std::string& validMachines,
                                             int rows) {
  std::vector<int> validRows;
  for (int n = 1; n <= rows; ++n) {
    if (routine.Test([&] { return IsValidMachine(n, validMachines); })) validRows.push_back(n);
  }
  if (!validRows.empty() && !routine.Step([&] {
        if (GetProgramIniPath(session_, IniAccess::Write).empty()) {
          ThrowWriteFailure(session_, ProjectProgramIniPath(session_));
        }
      })) {
    return InputsOutcome::Refused;
  }
  bool allWritten = true;
  for (const int n : validRows) {
    const bool written = routine.Step([&] {
      const std::string path = GetProgramIniPath(session_, IniAccess::Write);
      const std::string key = "OrderOfServiceCounter" + std::to_string(n);
      if (path.empty() || SaveStoreValue(session_, ComboOrder(n).text, "Project", key, path) ==
                              SaveResult::Failed) {
        ThrowWriteFailure(session_, path.empty() ? ProjectProgramIniPath(session_) : path);
      }
    });
    allWritten = allWritten && written;
  }
  bool stamped = false;
  if (allWritten) routine.Step([&] { stamped = WriteEditInfo(session_); });
  return stamped ? InputsOutcome::Stored : InputsOutcome::Refused;
}

// ---- Context help ----------------------------------------------------------------------------

void frm_Morlane_Exe::CommandQuest_Click() {
  session_.HelpMode = !session_.HelpMode;
  CommandQuest().backColor = session_.HelpMode ? kPureGreen : kLightGrey;
  CommandQuest().pressed = session_.HelpMode;
  Sync();
}

void frm_Morlane_Exe::LabelServiceCounter_Click() {
  ShowHelpText(session_, At({Name::LabelServiceCounter}));
}

void frm_Morlane_Exe::FrameServiceCounter_Click() {
  ShowHelpText(session_, At({Name::FrameServiceCounter}));
}

void frm_Morlane_Exe::Label_Click(int index) {
  ShowHelpText(session_, Label(index));
}

void frm_Morlane_Exe::ComboOrder_Click(int index) {
  ShowHelpText(session_, ComboOrder(index));
}

void frm_Morlane_Exe::ComboOrder_GotFocus(int index) {
  ShowHelpText(session_, ComboOrder(index));
}

}  // namespace morlane::form
