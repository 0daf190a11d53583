#include "gui/qt/mirror.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "form/view_rules.h"
#include "gui/qt/position_box.h"
#include "gui/qt/text_codec.h"
#include "gui/qt/widgets.h"

namespace morlane::gui::qt {
namespace {

using form::Control;
using form::Kind;

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

void MirrorBackColor(const Control& c, Shown& shown) {
  if (shown.backColorApplied && shown.backColor == c.backColor) return;
  shown.backColorApplied = true;
  shown.backColor = c.backColor;
  QWidget* w = shown.widget;
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

void MirrorCombo(const Control& c, QComboBox* combo) {
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
    FitListToEntries(combo);
  }
  // Compared in the code page, so a character it lacks does not count as a change; an equal
  // text is left alone with its cursor.
  if (newItems || ToAnsi(combo->currentText()) != c.text) {
    const QString text = FromAnsi(c.text);
    const auto selected = form::ListSelection(c);
    combo->setCurrentIndex(selected ? static_cast<int>(*selected) : -1);
    combo->setEditText(text);
  }
}

}  // namespace

void Mirror(const Control& c, Shown& shown) {
  QWidget* w = shown.widget;
  if (w->isEnabled() != c.enabled) w->setEnabled(c.enabled);

  const QString tip = ToolTipHtml(form::ShownToolTip(c, shown.cut));
  if (w->toolTip() != tip) w->setToolTip(tip);

  MirrorBackColor(c, shown);

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

}  // namespace morlane::gui::qt
