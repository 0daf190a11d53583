// A form for the view tests: the real controls and routing, handlers that only record their
// calls, and a few model-like reactions the view must mirror.
#pragma once

#include <QStringList>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/model.h"

namespace morlane::testing {

class RecordingForm : public form::FormModel {
 public:
  std::string caption = "Erweiterte Konfiguration Config - standalone";
  bool busy = false;
  form::FormHost* host = nullptr;
  QStringList calls;
  bool keepOpen = false;                // Form_QueryUnload's answer
  std::function<void(int)> onGotFocus;  // runs inside ComboOrder_GotFocus

  RecordingForm() {
    for (int i = 1; i <= 5; ++i) {
      Combo(i).items = {"0", "1", "2", "3"};
      Combo(i).text = std::to_string(i - 1);
    }
  }

  // The tests address controls by the names of the layout.
  form::Control& Named(const std::string& name, std::optional<int> index = std::nullopt) {
    for (auto& c : controls) {
      if (c.name == name && c.id.index == index.value_or(0)) return c;
    }
    throw std::out_of_range(name);
  }
  form::Control& Combo(int i) { return Named("ComboOrder", i); }
  form::Control& Label(int i) { return Named("Label", i); }
  void Sync() {
    if (host != nullptr) host->Sync();
  }

  const std::string& Caption() const override { return caption; }
  bool BusyCursor() const override { return busy; }
  void SetHost(form::FormHost* h) override { host = h; }

  // As the model: activation enables OK.
  void Form_Activate() override {
    calls << "Form_Activate";
    Named("CommandOK").enabled = true;
    Sync();
  }
  void Form_Resize() override { calls << "Form_Resize"; }
  void Form_QueryUnload(bool& cancel, int mode) override {
    calls << QStringLiteral("Form_QueryUnload(%1)").arg(mode);
    if (keepOpen) cancel = true;
  }
  void CommandOK_Click() override { calls << "CommandOK_Click"; }
  void CommandCancel_Click() override { calls << "CommandCancel_Click"; }
  // As the model: the button shows the help mode by its colour.
  void CommandQuest_Click() override {
    calls << "CommandQuest_Click";
    auto& quest = Named("CommandQuest");
    quest.backColor = quest.backColor == form::kPureGreen ? form::kLightGrey : form::kPureGreen;
    Sync();
  }
  void LabelServiceCounter_Click() override { calls << "LabelServiceCounter_Click"; }
  void FrameServiceCounter_Click() override { calls << "FrameServiceCounter_Click"; }
  void Label_Click(int i) override { calls << QStringLiteral("Label_Click(%1)").arg(i); }
  void ComboOrder_Click(int i) override { calls << QStringLiteral("ComboOrder_Click(%1)").arg(i); }
  void ComboOrder_GotFocus(int i) override {
    calls << QStringLiteral("ComboOrder_GotFocus(%1)").arg(i);
    if (onGotFocus) onGotFocus(i);
  }

  // The calls other than activation and resizing, which the window system sends at will.
  QStringList Clicks() const {
    QStringList result;
    for (const auto& call : calls) {
      if (call != "Form_Activate" && call != "Form_Resize") result << call;
    }
    return result;
  }
};

}  // namespace morlane::testing
