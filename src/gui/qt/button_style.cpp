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
  }
};

}  // namespace

QStyle* PlainFaceButtonStyle() {
  return ApplicationProxyStyle<PlainFace>();
}

}  // namespace morlane::gui::qt
