// A label whose text never ends mid-letter: broken into lines at blanks, and where it still
// does not fit, cut after a whole character and ended with "…".
#pragma once

#include <QLabel>
#include <QStringList>

class QFontMetrics;

namespace morlane::gui::qt {

// The lines of `text` in a box of `width` by `height` pixels: as many words on a line as fit,
// as many lines as the height holds (at least one). A word wider than a line, and the last line
// when text is left over, end in "…".
QStringList FittedLines(const QString& text, const QFontMetrics& metrics, int width, int height);

// text() stays the whole caption; only the painting fits it.
class FittedLabel : public QLabel {
 public:
  explicit FittedLabel(QWidget* parent = nullptr) : QLabel(parent) {}

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace morlane::gui::qt
