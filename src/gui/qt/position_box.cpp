#include "gui/qt/position_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

namespace morlane::gui::qt {
namespace {

// The widest texts of the numbers −32768 to 32767 in any font: every digit is as wide as the
// widest digit at most, and the longest text has a sign.
int WidestNumber(const QFontMetrics& metrics) {
  int digit = 0;
  for (char c = '0'; c <= '9'; ++c) {
    digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
  }
  return metrics.horizontalAdvance(QLatin1Char('-')) + 5 * digit;
}

// How far to the right the box may reach: its container's inside, less the gap the layout
// keeps, and not into a control beside it.
int RightLimit(const QComboBox* combo) {
  const QWidget* parent = combo->parentWidget();
  const QRect box = combo->geometry();
  int limit = parent->contentsRect().right() - 2;
  for (const QObject* child : parent->children()) {
    const auto* other = qobject_cast<const QWidget*>(child);
    if (other == nullptr || other == combo || other->isWindow()) continue;
    const QRect g = other->geometry();
    const bool beside = g.top() <= box.bottom() && g.bottom() >= box.top();
    if (beside && g.left() > box.left()) limit = std::min(limit, g.left() - 2);
  }
  return limit;
}

}  // namespace

void FitPositionBox(QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = true;
  option.rect = QRect(QPoint(0, 0), combo->size());
  const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, combo);
  // The edit field keeps a margin of its own on both sides, and room for the cursor.
  const QMargins margins = combo->lineEdit()->textMargins();
  const int needed =
      WidestNumber(combo->fontMetrics()) + 2 * 2 + 1 + margins.left() + margins.right();
  const int grow = needed - field.width();
  if (grow <= 0) return;
  const QRect box = combo->geometry();
  const int width = std::min(box.width() + grow, RightLimit(combo) - box.left() + 1);
  if (width > box.width()) combo->setGeometry(box.left(), box.top(), width, box.height());
}

void FitListToEntries(QComboBox* combo) {
  QAbstractItemView* list = combo->view();
  int width = list->sizeHintForColumn(0) + 2 * list->frameWidth();
  if (combo->count() > combo->maxVisibleItems()) {
    width += list->verticalScrollBar()->sizeHint().width();
  }
  list->setMinimumWidth(width);
}

}  // namespace morlane::gui::qt
