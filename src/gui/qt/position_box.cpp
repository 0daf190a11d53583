#include "gui/qt/position_box.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include "form/view_rules.h"
#include "gui/qt/widgets.h"

namespace morlane::gui::qt {

void FitPositionBox(const std::vector<form::Control>& controls, std::size_t n, int dpi,
                    QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = true;
  option.rect = QRect(QPoint(0, 0), combo->size());
  const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                     QStyle::SC_ComboBoxEditField, combo);
  // The edit field keeps a margin of its own on both sides, and room for the cursor.
  const QMargins margins = combo->lineEdit()->textMargins();
  const QFontMetrics metrics = combo->fontMetrics();
  const int widest = form::WidestPosition([&](std::string_view text) {
    return metrics.horizontalAdvance(
        QLatin1String(text.data(), static_cast<qsizetype>(text.size())));
  });
  const int needed = widest + 2 * 2 + 1 + margins.left() + margins.right();
  const int width = form::PositionBoxWidth(controls, n, dpi, needed - field.width());
  const QRect box = combo->geometry();
  if (width != box.width()) combo->setGeometry(box.left(), box.top(), width, box.height());
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
