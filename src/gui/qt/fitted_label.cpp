#include "gui/qt/fitted_label.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <algorithm>

namespace morlane::gui::qt {
namespace {

QString Elided(const QString& text, const QFontMetrics& metrics, int width) {
  return metrics.elidedText(text, Qt::ElideRight, width);
}

// The longest start of `text` that ends before a blank (or at its end) and fits; 0 when not
// even the first word does. As in the usual line breaking, a line never ends with an opening
// parenthesis: "( none )" stays together.
qsizetype FittingStart(const QString& text, const QFontMetrics& metrics, int width) {
  qsizetype fits = 0;
  for (qsizetype end = 1; end <= text.size(); ++end) {
    if (end < text.size() && text[end] != QLatin1Char(' ')) continue;
    if (text[end - 1] == QLatin1Char(' ')) continue;  // a run of blanks: measured at its start
    if (end < text.size() && text[end - 1] == QLatin1Char('(')) continue;
    if (metrics.horizontalAdvance(text.left(end)) > width) break;
    fits = end;
  }
  return fits;
}

QString WithoutLeadingBlanks(const QString& text) {
  qsizetype from = 0;
  while (from < text.size() && text[from] == QLatin1Char(' '))
    ++from;
  return text.mid(from);
}

}  // namespace

QStringList FittedLines(const QString& text, const QFontMetrics& metrics, int width, int height) {
  const int maxLines = std::max(1, height / std::max(1, metrics.lineSpacing()));
  QStringList lines;
  QString rest = text;
  while (!rest.isEmpty()) {
    if (lines.size() == maxLines - 1) {
      lines << Elided(rest, metrics, width);
      break;
    }
    qsizetype cut = FittingStart(rest, metrics, width);
    if (cut == 0) {
      // A word wider than the line: as much of it as fits.
      cut = rest.indexOf(QLatin1Char(' '));
      if (cut < 0) cut = rest.size();
      lines << Elided(rest.left(cut), metrics, width);
    } else {
      lines << rest.left(cut);
    }
    rest = WithoutLeadingBlanks(rest.mid(cut));
  }
  return lines;
}

void FittedLabel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const QRect area = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  const QStringList lines = FittedLines(text(), fontMetrics(), area.width(), area.height());
  style()->drawItemText(&painter, area, static_cast<int>(alignment()), palette(), isEnabled(),
                        lines.join(QLatin1Char('\n')), foregroundRole());
}

}  // namespace morlane::gui::qt
