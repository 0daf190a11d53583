#include "gui/qt/button_style.h"

#include <QApplication>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>

namespace morlane::gui::qt {
namespace {

class PlainFace final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (element != PE_PanelButtonCommand || (option->state & State_Sunken)) return;
    // Inside the border and its highlight, which take two pixels in the usual styles.
    painter->fillRect(option->rect.adjusted(2, 2, -2, -2), option->palette.button().color());
  }
};

}  // namespace

QStyle* PlainFaceButtonStyle() {
  // Widgets do not own styles: the application does.
  static QStyle* style = [] {
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    auto* proxy = new PlainFace(base);
    proxy->setParent(QCoreApplication::instance());
    return proxy;
  }();
  return style;
}

}  // namespace morlane::gui::qt
