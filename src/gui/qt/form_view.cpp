#include "gui/qt/form_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include "gui/qt/accessible.h"
#include "gui/qt/position_box.h"
#include "gui/qt/screen_fit.h"
#include "gui/qt/text_codec.h"
#include "gui/qt/widgets.h"

namespace morlane::gui::qt {
namespace {

using form::Control;

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The grey window with black text whatever the desktop's palette (a dark one would put white
// text on the grey); disabled text in the grey of the plant's PCs: the style's own is lost on
// this background. The position boxes take the desktop's colours of their own (Mirror).
QPalette WindowPalette(QPalette palette) {
  const QColor grey = ToQColor(form::kLightGrey);
  // The shades of edges and frames worked out from the grey, as for a grey button.
  const QPalette shades(grey);
  for (const auto role : {QPalette::Window, QPalette::Button, QPalette::Light, QPalette::Midlight,
                          QPalette::Mid, QPalette::Dark, QPalette::Shadow}) {
    palette.setBrush(role, shades.brush(QPalette::Active, role));
  }
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    palette.setColor(QPalette::Active, role, Qt::black);
    palette.setColor(QPalette::Inactive, role, Qt::black);
    palette.setColor(QPalette::Disabled, role, QColor(128, 128, 128));
  }
  return palette;
}

}  // namespace

FormView::FormView(form::FormEvents& form, QWidget* parent)
    : QWidget(parent), form_(form), scale_(LayoutScale(QGuiApplication::primaryScreen())) {
  setFixedSize(Pixels(form::kClientWidth, scale_), Pixels(form::kClientHeight, scale_));
  if (scale_ < 1) setFont(ScaledFont(font(), scale_));
  setPalette(WindowPalette(palette()));
  setAutoFillBackground(true);
  Build();
  form_.SetHost(this);
  Sync();
}

FormView::~FormView() {
  form_.SetHost(nullptr);
  if (busy_) QApplication::restoreOverrideCursor();
}

void FormView::Build() {
  const auto& controls = form_.Controls();
  shown_.resize(controls.size());
  for (std::size_t p = 0; p < controls.size(); ++p) {
    const Control& c = controls[p];
    QWidget* parent = this;
    if (!c.container.empty()) {
      if (QWidget* container = Widget(c.container)) parent = container;
    }
    WidgetEvents events;
    events.clicked = [this, p] { Call([&] { form_.Clicked(p); }); };
    events.edited = [this, p](const QString& text) { form_.Edited(p, ToAnsi(text)); };
    events.keyAndFocusFilter = this;
    shown_[p].widget = CreateWidget(c, parent, events, scale_);
  }
  std::vector<QWidget*> widgets;
  for (const Shown& shown : shown_)
    widgets.push_back(shown.widget);
  TieLabels(controls, widgets);
  // Widened once every control is in place, so that none grows over another.
  for (std::size_t p = 0; p < controls.size(); ++p) {
    if (controls[p].kind == form::Kind::ComboBox) {
      FitPositionBox(static_cast<QComboBox*>(shown_[p].widget));
    }
  }
  SetTabOrder();
}

void FormView::SetTabOrder() {
  const auto& controls = form_.Controls();
  std::vector<std::size_t> order;
  for (std::size_t p = 0; p < controls.size(); ++p) {
    if (TakesFocus(controls[p].kind)) order.push_back(p);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return controls[a].tabIndex < controls[b].tabIndex;
  });
  for (std::size_t k = 1; k < order.size(); ++k) {
    QWidget::setTabOrder(shown_[order[k - 1]].widget, shown_[order[k]].widget);
  }
}

QWidget* FormView::Widget(std::string_view name, std::optional<int> index) const {
  const auto& controls = form_.Controls();
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    if (controls[p].name == name && controls[p].index == index) return shown_[p].widget;
  }
  return nullptr;
}

std::optional<std::size_t> FormView::PositionOf(const QObject* widget) const {
  for (std::size_t p = 0; p < shown_.size(); ++p) {
    if (shown_[p].widget == widget) return p;
  }
  return std::nullopt;
}

void FormView::Open() {
  // The first control of the tab order that can take the focus has it when the window opens.
  const auto& controls = form_.Controls();
  std::optional<std::size_t> first;
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    if (!TakesFocus(controls[p].kind) || !controls[p].enabled) continue;
    if (!first || controls[p].tabIndex < controls[*first].tabIndex) first = p;
  }
  if (first) shown_[*first].widget->setFocus(Qt::OtherFocusReason);

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(PlaceOnScreen(size(), screen->availableGeometry()));
  }
  show();
  activateWindow();
}

template <typename Handler>
void FormView::Call(Handler handler) {
  ++handlersRunning_;
  handler();
  --handlersRunning_;
}

void FormView::Sync() {
  mirroring_ = true;
  const QString title = FromAnsi(form_.Caption());
  if (windowTitle() != title) setWindowTitle(title);
  const auto& controls = form_.Controls();
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    Mirror(controls[p], shown_[p]);
    MirrorAccessible(controls, p, shown_[p].widget);
  }
  mirroring_ = false;
  MirrorCursor();
}

void FormView::MirrorCursor() {
  const bool busy = form_.BusyCursor();
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void FormView::FocusControl(std::size_t n) {
  if (n >= shown_.size() || !shown_[n].widget->isEnabled()) return;
  mirroring_ = true;  // the form's own doing: no focus event goes back to it
  shown_[n].widget->setFocus(Qt::OtherFocusReason);
  mirroring_ = false;
  // The user types the position anew, as after Tab.
  if (auto* combo = qobject_cast<QComboBox*>(shown_[n].widget)) combo->lineEdit()->selectAll();
}

void FormView::ProcessPendingEvents() {
  QCoreApplication::processEvents();
}

bool FormView::event(QEvent* event) {
  // A message box shown by a running handler takes the activation away and gives it back;
  // that is no activation of the window by the user.
  if (event->type() == QEvent::WindowActivate && handlersRunning_ == 0) {
    Call([&] { form_.Form_Activate(); });
  }
  if (event->type() == QEvent::WindowBlocked) ++timesBlocked_;
  return QWidget::event(event);
}

void FormView::closeEvent(QCloseEvent* event) {
  bool cancel = false;
  Call([&] { form_.Form_QueryUnload(cancel, 0); });
  if (cancel) {
    event->ignore();
  } else {
    event->accept();
  }
}

void FormView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Call([&] { form_.Form_Resize(); });
}

void FormView::FocusIn(QObject* watched, Qt::FocusReason reason) {
  // The focus coming back from a message box or a combo's own list is no new focus.
  const auto position = PositionOf(watched);
  if (!position || mirroring_ || reason == Qt::ActiveWindowFocusReason ||
      reason == Qt::PopupFocusReason) {
    return;
  }
  const int blocked = timesBlocked_;
  Call([&] { form_.Focused(*position); });
  // A message box shown for a focusing click (help mode) has taken that click: a combo's list
  // stays closed when the press reaches it after the box.
  if (reason == Qt::MouseFocusReason && timesBlocked_ != blocked) swallowPressOf_ = watched;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  // Enter presses the button that has the focus, as on the plant's PCs.
  if (auto* button = qobject_cast<QPushButton*>(watched); button != nullptr && IsEnterKey(event)) {
    if (button->isEnabled()) button->click();
    return true;
  }
  // A combo's edit field is part of the combo.
  QObject* control = qobject_cast<QLineEdit*>(watched) != nullptr ? watched->parent() : watched;
  if (event->type() == QEvent::FocusIn) {
    FocusIn(control, static_cast<QFocusEvent*>(event)->reason());
  } else if (event->type() == QEvent::MouseButtonPress && swallowPressOf_ != nullptr) {
    const bool swallow = swallowPressOf_ == control;
    swallowPressOf_ = nullptr;
    if (swallow) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace morlane::gui::qt
