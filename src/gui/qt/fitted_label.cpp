#include "gui/qt/fitted_label.h"

#include <QPainter>
#include <QStyle>

namespace morlane::gui::qt {

void FittedLabel::SetLines(const QStringList& lines) {
  if (lines == lines_) return;
  lines_ = lines;
  update();
}

void FittedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                        lines_.join(QLatin1Char('\n')), foregroundRole());
}

}  // namespace morlane::gui::qt
