// A label that shows its caption in the lines the form's label rule gave it.
#pragma once

#include <QLabel>
#include <QStringList>

namespace morlane::gui::qt {

// text() stays the whole caption; only the painting shows the fitted lines.
class FittedLabel : public QLabel {
 public:
  explicit FittedLabel(QWidget* parent = nullptr) : QLabel(parent) {}
  void SetLines(const QStringList& lines);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QStringList lines_;
};

}  // namespace morlane::gui::qt
