#include "gui/qt/widgets.h"

#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <optional>

#include "form/view_rules.h"
#include "gui/qt/button_style.h"
#include "gui/qt/combo_style.h"
#include "gui/qt/fitted_label.h"
#include "gui/qt/fonts.h"
#include "gui/qt/screen_fit.h"
#include "gui/qt/text_codec.h"

namespace morlane::gui::qt {
namespace {

using form::Control;
using form::Kind;

// A widget that reports a click (press and release of the left button) on its own area; a click
// on one of its children (enabled or not) is the child's business.
template <typename Base>
class Clickable final : public Base {
 public:
  Clickable(QWidget* parent, std::function<void()> onClick)
      : Base(parent), onClick_(std::move(onClick)) {}

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton && OwnArea(event);
    event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton && OwnArea(event);
    pressed_ = false;
    event->accept();
    if (click && onClick_) onClick_();
  }

 private:
  bool OwnArea(const QMouseEvent* event) const {
    const QPoint at = event->position().toPoint();
    return this->rect().contains(at) && this->childAt(at) == nullptr;
  }
  std::function<void()> onClick_;
  bool pressed_ = false;
};

// A PNG of the resources, named as PNG so that Qt does not load every image plugin to guess the
// format first.
QImage ReadPng(const QString& path) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

// The picture at its designed size, with the versions drawn for 1.5 and 2 times as many dots per
// inch: Qt takes the one the screen needs instead of enlarging the small one.
QIcon LoadPicture(form::Picture picture, QSize& size) {
  QString name;
  switch (picture) {
    case form::Picture::CheckMark:
      name = QStringLiteral("check");
      break;
    case form::Picture::Cross:
      name = QStringLiteral("cross");
      break;
    case form::Picture::QuestionArrow:
      name = QStringLiteral("quest");
      break;
    case form::Picture::None:
      return {};
  }
  QIcon icon;
  for (const char* factor : {"", "@1.5x", "@2x"}) {
    const QImage image =
        ReadPng(QStringLiteral(":/art/") + name + QLatin1String(factor) + QStringLiteral(".png"));
    if (image.isNull()) continue;
    if (icon.isNull()) size = image.size();
    icon.addPixmap(QPixmap::fromImage(image));
  }
  return icon;
}

QWidget* CreateButton(const Control& control, QWidget* parent, const WidgetEvents& events) {
  auto* button = new QPushButton(parent);
  button->setStyle(PlainFaceButtonStyle());
  // No default button: Enter and Escape act only on a button that has the focus.
  button->setAutoDefault(false);
  button->setDefault(false);
  QSize size;
  const QIcon picture = LoadPicture(control.picture, size);
  if (!picture.isNull()) {
    button->setIcon(picture);
    button->setIconSize(size);
  }
  QObject::connect(button, &QPushButton::clicked, button, [f = events.clicked] { f(); });
  return button;
}

QWidget* CreateCombo(QWidget* parent, const WidgetEvents& events) {
  auto* combo = new QComboBox(parent);
  combo->setStyle(NarrowArrowComboStyle());
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  // What is typed stays as typed: no completion from the list.
  combo->setCompleter(nullptr);
  // Qt takes the end of an edit (Enter, leaving the combo) whose text is in the list as a
  // choice from the list; here only a choice made in the list or with the arrow keys is.
  QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
  // The model reads the text when it stores, so every edit goes there at once.
  QObject::connect(combo, &QComboBox::editTextChanged, combo, events.edited);
  QObject::connect(combo, &QComboBox::activated, combo, [f = events.clicked] { f(); });
  if (events.keyAndFocusFilter != nullptr)
    combo->lineEdit()->installEventFilter(events.keyAndFocusFilter);
  return combo;
}

QWidget* CreateLabel(QWidget* parent, const WidgetEvents& events) {
  auto* label = new Clickable<FittedLabel>(parent, events.clicked);
  label->setTextFormat(Qt::PlainText);
  // The rows are two lines high: the machine name wraps below "Maschine n", and what does not
  // fit ends in "…".
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return label;
}

QWidget* CreateFrame(QWidget* parent, const WidgetEvents& events) {
  auto* frame = new Clickable<QFrame>(parent, events.clicked);
  frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
  return frame;
}

QWidget* CreateOfKind(const Control& control, QWidget* parent, const WidgetEvents& events) {
  switch (control.kind) {
    case Kind::CommandButton:
      return CreateButton(control, parent, events);
    case Kind::Frame:
      return CreateFrame(parent, events);
    case Kind::ComboBox:
      return CreateCombo(parent, events);
    case Kind::Label:
      return CreateLabel(parent, events);
  }
  return new QWidget(parent);
}

}  // namespace

int Pixels(int twips, int dpi) {
  return form::Pixels(twips, dpi);
}

QColor ToQColor(form::Rgb rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

QWidget* CreateWidget(const Control& control, QWidget* parent, const WidgetEvents& events,
                      int dpi) {
  QWidget* w = CreateOfKind(control, parent, events);
  w->setGeometry(Pixels(control.left, dpi), Pixels(control.top, dpi), Pixels(control.width, dpi),
                 Pixels(control.height, dpi));
  const double scale = dpi / static_cast<double>(kDesignDpi);
  if (const auto font = FontOf(control.font)) w->setFont(ScaledFont(*font, scale));
  if (auto* button = qobject_cast<QPushButton*>(w); button != nullptr && scale < 1) {
    button->setIconSize(button->iconSize() * scale);
  }
  w->setFocusPolicy(form::TakesFocus(control.kind) ? Qt::StrongFocus : Qt::NoFocus);
  if (form::TakesFocus(control.kind) && events.keyAndFocusFilter != nullptr) {
    w->installEventFilter(events.keyAndFocusFilter);
  }
  return w;
}

}  // namespace morlane::gui::qt
