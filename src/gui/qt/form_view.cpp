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
#include "gui/qt/fitted_label.h"
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

// A combo's edit field is part of the combo.
QObject* ControlOf(QObject* object) {
  return qobject_cast<QLineEdit*>(object) != nullptr ? object->parent() : object;
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
    : QWidget(parent), form_(form), dpi_(LayoutDpi(QGuiApplication::primaryScreen())) {
  setFixedSize(Pixels(form::kClientWidth, dpi_), Pixels(form::kClientHeight, dpi_));
  if (dpi_ < kDesignDpi) setFont(ScaledFont(font(), dpi_ / static_cast<double>(kDesignDpi)));
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
    const auto container = form::ContainerOf(controls, p);
    QWidget* parent = container && *container < p ? shown_[*container].widget : this;
    WidgetEvents events;
    events.clicked = [this, p] { events_.Clicked(p); };
    events.edited = [this, p](const QString& text) { form_.Edited(p, ToAnsi(text)); };
    events.keyAndFocusFilter = this;
    shown_[p].widget = CreateWidget(controls[p], parent, events, dpi_);
  }
  std::vector<QWidget*> widgets;
  for (const Shown& shown : shown_)
    widgets.push_back(shown.widget);
  TieLabels(controls, widgets);
  for (std::size_t p = 0; p < controls.size(); ++p) {
    if (controls[p].kind == form::Kind::ComboBox) {
      FitPositionBox(controls, p, dpi_, static_cast<QComboBox*>(shown_[p].widget));
    }
  }
  SetTabOrder();
}

void FormView::SetTabOrder() {
  const std::vector<std::size_t> order = form::TabOrder(form_.Controls());
  for (std::size_t k = 1; k < order.size(); ++k) {
    QWidget::setTabOrder(shown_[order[k - 1]].widget, shown_[order[k]].widget);
  }
}

// The caption broken into the lines the label shows; a label whose caption does not fit its
// place grows into the room its frame offers.
void FormView::FitLabel(std::size_t p) {
  const Control& c = form_.Controls()[p];
  Shown& shown = shown_[p];
  if (c.kind != form::Kind::Label || shown.fitted == c.caption) return;
  shown.fitted = c.caption;
  auto* label = static_cast<FittedLabel*>(shown.widget);
  const QFontMetrics metrics(label->font());
  const form::LabelFit fit = form::FitLabel(
      form_.Controls(), p, dpi_,
      [&](std::string_view text) { return metrics.horizontalAdvance(FromAnsi(std::string(text))); },
      metrics.lineSpacing());
  shown.cut = fit.cut;
  QStringList lines;
  for (const std::string& line : fit.lines) {
    lines << FromAnsi(line);
  }
  label->SetLines(lines);
  label->setGeometry(fit.box.left, fit.box.top, fit.box.width, fit.box.height);
}

QWidget* FormView::Widget(form::ControlId id) const {
  const auto p = form::PositionOf(form_.Controls(), id);
  return p && *p < shown_.size() ? shown_[*p].widget : nullptr;
}

std::optional<std::size_t> FormView::PositionOf(const QObject* widget) const {
  for (std::size_t p = 0; p < shown_.size(); ++p) {
    if (shown_[p].widget == widget) return p;
  }
  return std::nullopt;
}

void FormView::Open() {
  if (const auto first = form::FirstFocus(form_.Controls())) {
    shown_[*first].widget->setFocus(Qt::OtherFocusReason);
  }

  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    move(PlaceOnScreen(size(), screen->availableGeometry()));
  }
  show();
  activateWindow();
}

void FormView::Sync() {
  mirroring_ = true;
  const QString title = FromCoreText(form_.Caption());
  if (windowTitle() != title) setWindowTitle(title);
  const auto& controls = form_.Controls();
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    FitLabel(p);
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
  if (event->type() == QEvent::WindowActivate) events_.Activated();
  if (event->type() == QEvent::WindowBlocked) events_.BoxShown();
  return QWidget::event(event);
}

void FormView::closeEvent(QCloseEvent* event) {
  if (events_.CloseRequested()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void FormView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  events_.Resized();
}

void FormView::FocusIn(QObject* watched, Qt::FocusReason reason) {
  // The focus coming back from a message box or a combo's own list is no new focus.
  const auto position = PositionOf(watched);
  if (!position || mirroring_ || reason == Qt::ActiveWindowFocusReason ||
      reason == Qt::PopupFocusReason) {
    return;
  }
  // A combo's list stays closed when the press reaches it after a box that took the click.
  if (events_.Focused(*position, reason == Qt::MouseFocusReason)) swallowPressOf_ = watched;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  // Enter presses the button that has the focus, as on the plant's PCs.
  if (auto* button = qobject_cast<QPushButton*>(watched); button != nullptr && IsEnterKey(event)) {
    if (button->isEnabled()) button->click();
    return true;
  }
  QObject* control = ControlOf(watched);
  if (event->type() == QEvent::FocusIn) {
    FocusIn(control, static_cast<QFocusEvent*>(event)->reason());
  } else if (event->type() == QEvent::MouseButtonPress && swallowPressOf_ != nullptr) {
    const bool swallow = swallowPressOf_ == control;
    swallowPressOf_ = nullptr;
    if (swallow) return true;
  }
  return QWidget::eventFilter(watched, event);
}

bool FormView::focusNextPrevChild(bool next) {
  // Tab and Shift+Tab move as the form's tab order says.
  const auto from = PositionOf(ControlOf(QApplication::focusWidget()));
  const auto to = form::NextFocus(form_.Controls(), from, next);
  if (!to) return false;
  shown_[*to].widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  return true;
}

}  // namespace morlane::gui::qt
