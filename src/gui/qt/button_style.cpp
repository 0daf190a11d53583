#include "gui/qt/button_style.h"

#include <QPainter>
#include <QProxyStyle>
#include <QStyleOption>

#include "gui/qt/proxy_style.h"

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
    // The style's own focus mark, a thin line in a light colour, is barely seen on the grey: a
    // black frame two pixels wide inside the border.
    if (option->state & State_HasFocus) {
      painter->save();
      painter->setPen(QPen(Qt::black, 2));
      painter->setBrush(Qt::NoBrush);
      painter->drawRect(QRectF(option->rect).adjusted(4, 4, -4, -4));
      painter->restore();
    }
  }
};

}  // namespace

QStyle* PlainFaceButtonStyle() {
  return ApplicationProxyStyle<PlainFace>();
}

}  // namespace morlane::gui::qt
