// The Qt window of the form: widgets built from the model's controls, mirroring them on every
// Sync() and reporting clicks, focus changes, edits, activation and close requests to the form.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "form/events.h"
#include "form/view_rules.h"
#include "gui/qt/mirror.h"

namespace morlane::gui::qt {

class FormView final : public QWidget, public form::FormHost {
 public:
  // Builds every widget and attaches itself to the form as its host.
  explicit FormView(form::FormEvents& form, QWidget* parent = nullptr);
  ~FormView() override;
  FormView(const FormView&) = delete;
  FormView& operator=(const FormView&) = delete;

  // Shows the window with the focus on the first control of the tab order.
  void Open();

  // The widget that shows a control; nullptr when there is none.
  QWidget* Widget(form::ControlId id) const;

  // FormHost
  void Sync() override;
  void ProcessPendingEvents() override;
  void FocusControl(std::size_t n) override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  void Build();
  void SetTabOrder();
  void FitLabel(std::size_t p);
  void MirrorCursor();
  std::optional<std::size_t> PositionOf(const QObject* widget) const;
  // The focus reaching a control by the user's doing.
  void FocusIn(QObject* watched, Qt::FocusReason reason);

  form::FormEvents& form_;
  // The layout's dots per inch: below 96 where the designed window is larger than the screen.
  int dpi_ = 96;
  form::ViewEvents events_{form_};
  std::vector<Shown> shown_;  // parallel to form_.Controls()
  bool busy_ = false;
  bool mirroring_ = false;  // focus moved by mirroring (a control disabled) is no user's move
  const QObject* swallowPressOf_ = nullptr;  // a control whose focusing click a box has taken
};

}  // namespace morlane::gui::qt
