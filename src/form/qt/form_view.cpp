#include "form/qt/form_view.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHash>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>
#include <QStyleOptionComplex>
#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/qt/text_codec.h"

namespace morlane::form::qt {
namespace {

using platform::qt::FromAnsi;
using platform::qt::MessageText;
using platform::qt::ToAnsi;

int Pixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / kTwipsPerPixel));
}

QColor ToQColor(Rgb rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

// A label that reports a click: press and release of the left button on it.
class ClickLabel final : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click && onClick) onClick();
  }

 private:
  bool pressed_ = false;
};

// A frame that reports a click on its own area; a click on one of its children (enabled or
// not) is the child's business.
class ClickFrame final : public QFrame {
 public:
  using QFrame::QFrame;
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    pressed_ = event->button() == Qt::LeftButton && OwnArea(event);
    event->accept();
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    const bool click = pressed_ && event->button() == Qt::LeftButton && OwnArea(event);
    pressed_ = false;
    event->accept();
    if (click && onClick) onClick();
  }

 private:
  bool OwnArea(const QMouseEvent* event) const {
    const QPoint at = event->position().toPoint();
    return rect().contains(at) && childAt(at) == nullptr;
  }
  bool pressed_ = false;
};

// The order combos are 33 pixels wide, as on the plant's PCs, where the arrow takes 17 of them
// and the digit gets the rest. Qt's styles give the arrow more and leave no room for a digit of
// a 12 pt bold font, so the arrow is made narrower; everything else is the platform's style.
class NarrowComboArrowStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
      return QProxyStyle::subControlRect(control, option, part, widget);
    }
    constexpr int kArrow = 14;
    constexpr int kFrame = 2;
    const QRect r = option->rect;
    const QRect rect = part == SC_ComboBoxArrow
                           ? QRect(r.right() - kArrow + 1, r.top(), kArrow, r.height())
                           : QRect(r.left() + kFrame, r.top() + kFrame,
                                   r.width() - kArrow - 2 * kFrame, r.height() - 2 * kFrame);
    return visualRect(option->direction, r, rect);
  }
};

QStyle* ComboStyle() {
  // Shared by every view, and kept as long as the application (widgets do not own styles).
  static QStyle* style = [] {
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    auto* proxy = new NarrowComboArrowStyle(base);
    proxy->setParent(QCoreApplication::instance());
    return proxy;
  }();
  return style;
}

// The font of a control: the named family where it is installed, else the system's general
// font at the same size and weight; no family means the default dialog font.
std::optional<QFont> FontOf(const Font& font) {
  if (font.family.empty()) return std::nullopt;
  const QString family = FromAnsi(font.family);
  // One look into the font database per family, not one per control.
  static QHash<QString, bool> installed;
  auto known = installed.find(family);
  if (known == installed.end()) {
    known = installed.insert(family, QFontDatabase::hasFamily(family));
  }
  QFont qfont = *known ? QFont(family) : QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (font.points > 0) qfont.setPointSizeF(font.points);
  qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
  qfont.setItalic(false);
  qfont.setUnderline(false);
  qfont.setStrikeOut(false);
  return qfont;
}

QPixmap LoadPicture(Picture picture) {
  QString path;
  switch (picture) {
    case Picture::CheckMark:
      path = QStringLiteral(":/art/check.png");
      break;
    case Picture::Cross:
      path = QStringLiteral(":/art/cross.png");
      break;
    case Picture::QuestionArrow:
      path = QStringLiteral(":/art/quest.png");
      break;
    case Picture::None:
      return {};
  }
  // Named as PNG, so that Qt does not load every image plugin to guess the format first.
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  return QPixmap::fromImage(reader.read());
}

// Tool tips are rich text in Qt; an escaped text in a "pre" paragraph shows the file's text
// literally, line breaks and blanks included.
QString ToolTipHtml(const std::string& text) {
  if (text.empty()) return {};
  return QStringLiteral("<p style='white-space:pre'>") + MessageText(text).toHtmlEscaped() +
         QStringLiteral("</p>");
}

// A button caption shows "&" as it is, not as a mnemonic.
QString ButtonText(const std::string& caption) {
  return FromAnsi(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// The application's palette with every colour set on the widget itself, so that nothing of a
// container's grey is inherited.
QPalette PlatformPalette(const QWidget* widget) {
  QPalette palette = QApplication::palette(widget);
  for (int group = 0; group < QPalette::NColorGroups; ++group) {
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
      const auto g = static_cast<QPalette::ColorGroup>(group);
      const auto r = static_cast<QPalette::ColorRole>(role);
      if (r == QPalette::NoRole) continue;
      palette.setBrush(g, r, palette.brush(g, r));
    }
  }
  return palette;
}

bool TakesFocus(Kind kind) {
  return kind == Kind::CommandButton || kind == Kind::ComboBox;
}

bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

FormView::FormView(FormEvents& form, QWidget* parent) : QWidget(parent), form_(form) {
  setFixedSize(Pixels(kClientWidth), Pixels(kClientHeight));
  QPalette grey = palette();
  grey.setColor(QPalette::Window, ToQColor(kLightGrey));
  // Disabled text in the grey of the plant's PCs: the style's own is lost on this background.
  const QColor greyText(128, 128, 128);
  for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    grey.setColor(QPalette::Disabled, role, greyText);
  }
  setPalette(grey);
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
    QWidget* w = Create(c, parent);
    w->setGeometry(Pixels(c.left), Pixels(c.top), Pixels(c.width), Pixels(c.height));
    if (const auto font = FontOf(c.font)) w->setFont(*font);
    w->setFocusPolicy(TakesFocus(c.kind) ? Qt::StrongFocus : Qt::NoFocus);
    shown_[p].widget = w;
    ConnectEvents(p, w);
  }
  SetTabOrder();
}

QWidget* FormView::Create(const Control& control, QWidget* parent) {
  switch (control.kind) {
    case Kind::CommandButton: {
      auto* button = new QPushButton(parent);
      // No default button: Enter and Escape act only on a button that has the focus.
      button->setAutoDefault(false);
      button->setDefault(false);
      const QPixmap picture = LoadPicture(control.picture);
      if (!picture.isNull()) {
        button->setIcon(QIcon(picture));
        button->setIconSize(picture.size());
      }
      button->installEventFilter(this);
      return button;
    }
    case Kind::Frame: {
      auto* frame = new ClickFrame(parent);
      frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
      return frame;
    }
    case Kind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setStyle(ComboStyle());
      combo->setEditable(true);
      combo->setInsertPolicy(QComboBox::NoInsert);
      // What is typed stays as typed: no completion from the list.
      combo->setCompleter(nullptr);
      // Qt takes the end of an edit (Enter, leaving the combo) whose text is in the list as a
      // choice from the list; here only a choice made in the list or with the arrow keys is.
      QObject::disconnect(combo->lineEdit(), &QLineEdit::editingFinished, combo, nullptr);
      combo->installEventFilter(this);
      combo->lineEdit()->installEventFilter(this);
      return combo;
    }
    case Kind::Label: {
      auto* label = new ClickLabel(parent);
      label->setTextFormat(Qt::PlainText);
      // The rows are two lines high: the machine name wraps below "Maschine n".
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
  }
  return new QWidget(parent);
}

void FormView::ConnectEvents(std::size_t position, QWidget* widget) {
  const Control& c = form_.Controls()[position];
  const std::string& name = c.name;
  if (auto* button = qobject_cast<QPushButton*>(widget)) {
    void (FormEvents::*handler)() = nullptr;
    if (name == "CommandOK") handler = &FormEvents::CommandOK_Click;
    if (name == "CommandCancel") handler = &FormEvents::CommandCancel_Click;
    if (name == "CommandQuest") handler = &FormEvents::CommandQuest_Click;
    if (handler != nullptr) {
      connect(button, &QPushButton::clicked, this,
              [this, handler] { Call([&] { (form_.*handler)(); }); });
    }
  } else if (auto* label = dynamic_cast<ClickLabel*>(widget)) {
    if (name == "Label" && c.index) {
      label->onClick = [this, i = *c.index] { Call([&] { form_.Label_Click(i); }); };
    } else if (name == "LabelServiceCounter") {
      label->onClick = [this] { Call([&] { form_.LabelServiceCounter_Click(); }); };
    }
  } else if (auto* frame = dynamic_cast<ClickFrame*>(widget)) {
    if (name == "FrameServiceCounter") {
      frame->onClick = [this] { Call([&] { form_.FrameServiceCounter_Click(); }); };
    }
  } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
    // The model reads the text when it stores, so every edit goes there at once.
    connect(combo, &QComboBox::editTextChanged, this, [this, position](const QString& text) {
      form_.Controls()[position].text = ToAnsi(text);
    });
    if (name == "ComboOrder" && c.index) {
      connect(combo, &QComboBox::activated, this,
              [this, i = *c.index] { Call([&] { form_.ComboOrder_Click(i); }); });
    }
  }
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
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
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

// ---- Mirroring the model ---------------------------------------------------------------------

void FormView::Sync() {
  mirroring_ = true;
  const QString title = FromAnsi(form_.Caption());
  if (windowTitle() != title) setWindowTitle(title);

  const auto& controls = form_.Controls();
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    Mirror(controls[p], shown_[p]);
  }
  mirroring_ = false;

  const bool busy = form_.BusyCursor();
  if (busy != busy_) {
    busy_ = busy;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
}

void FormView::Mirror(const Control& c, Shown& shown) {
  QWidget* w = shown.widget;
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);

  const QString tip = ToolTipHtml(c.toolTip);
  if (w->toolTip() != tip) w->setToolTip(tip);

  if (!shown.backColorApplied || shown.backColor != c.backColor) {
    shown.backColorApplied = true;
    shown.backColor = c.backColor;
    if (c.backColor) {
      QPalette palette = w->palette();
      const QColor color = ToQColor(*c.backColor);
      palette.setColor(QPalette::Window, color);
      palette.setColor(c.kind == Kind::ComboBox ? QPalette::Base : QPalette::Button, color);
      w->setPalette(palette);
      w->setAutoFillBackground(c.kind != Kind::CommandButton);
    } else {
      // The platform's colours: nothing of our own, not even the window's grey.
      w->setPalette(PlatformPalette(w));
      w->setAutoFillBackground(false);
    }
  }

  switch (c.kind) {
    case Kind::Label: {
      auto* label = static_cast<QLabel*>(w);
      const QString text = FromAnsi(c.caption);
      if (label->text() != text) label->setText(text);
      break;
    }
    case Kind::CommandButton: {
      auto* button = static_cast<QPushButton*>(w);
      const QString text = ButtonText(c.caption);
      if (button->text() != text) button->setText(text);
      break;
    }
    case Kind::ComboBox:
      MirrorCombo(c, static_cast<QComboBox*>(w));
      break;
    case Kind::Frame:
      break;  // a plain box: no caption
  }
}

void FormView::MirrorCombo(const Control& c, QComboBox* combo) {
  // Mirroring is no edit by the user: no signals, so nothing goes back to the model.
  const QSignalBlocker block(combo);
  QStringList items;
  for (const auto& item : c.items) {
    items << FromAnsi(item);
  }
  QStringList current;
  for (int k = 0; k < combo->count(); ++k) {
    current << combo->itemText(k);
  }
  const bool newItems = items != current;
  if (newItems) {
    combo->clear();
    combo->addItems(items);
  }
  // Compared in the code page, so a character it lacks does not count as a change; an equal
  // text is left alone with its cursor.
  if (newItems || ToAnsi(combo->currentText()) != c.text) {
    const QString text = FromAnsi(c.text);
    // The list's selection follows the text, so the arrow keys move on from there.
    combo->setCurrentIndex(combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    combo->setEditText(text);
  }
}

void FormView::ProcessPendingEvents() {
  QCoreApplication::processEvents();
}

// ---- Events of the window --------------------------------------------------------------------

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

int FormView::ComboIndexOf(const QObject* object) const {
  const auto& controls = form_.Controls();
  for (std::size_t p = 0; p < controls.size() && p < shown_.size(); ++p) {
    const QWidget* w = shown_[p].widget;
    if (controls[p].name != "ComboOrder" || !controls[p].index) continue;
    if (object == w || object == static_cast<const QComboBox*>(w)->lineEdit()) {
      return *controls[p].index;
    }
  }
  return 0;
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  if (auto* button = qobject_cast<QPushButton*>(watched)) {
    // Enter presses the button that has the focus, as on the plant's PCs.
    if (IsEnterKey(event)) {
      if (button->isEnabled()) button->click();
      return true;
    }
    return QWidget::eventFilter(watched, event);
  }

  auto* combo = qobject_cast<QComboBox*>(watched);
  if (combo == nullptr && watched->parent() != nullptr) {
    combo = qobject_cast<QComboBox*>(watched->parent());
  }
  if (combo == nullptr) return QWidget::eventFilter(watched, event);

  if (event->type() == QEvent::FocusIn) {
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    // The focus coming back from a message box or the combo's own list is no new focus.
    const int index = ComboIndexOf(watched);
    if (index != 0 && !mirroring_ && reason != Qt::ActiveWindowFocusReason &&
        reason != Qt::PopupFocusReason) {
      const int blocked = timesBlocked_;
      Call([&] { form_.ComboOrder_GotFocus(index); });
      // A message box shown for a focusing click (help mode) has taken that click: the list
      // stays closed when the press reaches the combo after the box.
      if (reason == Qt::MouseFocusReason && timesBlocked_ != blocked) swallowPressOf_ = combo;
    }
  } else if (event->type() == QEvent::MouseButtonPress && swallowPressOf_ != nullptr) {
    const bool swallow = swallowPressOf_ == combo;
    swallowPressOf_ = nullptr;
    if (swallow) return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace morlane::form::qt
