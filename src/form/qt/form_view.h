// The Qt window of the form: widgets built from the model's controls, mirroring them on every
// Sync() and forwarding clicks, focus changes, activation and close requests to the handlers.
#pragma once

#include <QWidget>
#include <optional>
#include <string_view>
#include <vector>

#include "form/controls.h"
#include "form/events.h"

class QComboBox;

namespace morlane::form::qt {

class FormView final : public QWidget, public FormHost {
 public:
  // Builds every widget and attaches itself to the form as its host.
  explicit FormView(FormEvents& form, QWidget* parent = nullptr);
  ~FormView() override;
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  // Shows the window with the focus on the first control of the tab order.
  void Open();

  // The widget that shows a control; nullptr when there is none of that name and index.
  QWidget* Widget(std::string_view name, std::optional<int> index = std::nullopt) const;

  // FormHost
  void Sync() override;
  void ProcessPendingEvents() override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Shown {
    QWidget* widget = nullptr;
    std::optional<Rgb> backColor;  // as last applied
    bool backColorApplied = false;
  };

  void Build();
  QWidget* Create(const Control& control, QWidget* parent);
  void ConnectEvents(std::size_t position, QWidget* widget);
  void SetTabOrder();
  void Mirror(const Control& control, Shown& shown);
  void MirrorCombo(const Control& control, QComboBox* combo);
  int ComboIndexOf(const QObject* object) const;
  // Runs a handler of the form. The form may end the process inside it.
  template <typename Handler>
  void Call(Handler handler);

  FormEvents& form_;
  std::vector<Shown> shown_;  // parallel to form_.Controls()
  bool busy_ = false;
  int handlersRunning_ = 0;
  bool mirroring_ = false;  // focus moved by mirroring (a control disabled) is no user's move
  int timesBlocked_ = 0;    // by modal message boxes
  const QObject* swallowPressOf_ = nullptr;  // a combo whose focusing click a box has taken
};

}  // namespace morlane::form::qt
