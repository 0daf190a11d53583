#include "gui/qt/combo_style.h"

#include <QProxyStyle>
#include <QStyleOptionComplex>

#include "gui/qt/proxy_style.h"

namespace morlane::gui::qt {
namespace {

// The order combos are 33 pixels wide, as on the plant's PCs, where the arrow takes 17 of them
// and the digit gets the rest. Qt's styles give the arrow more and leave no room for a digit of
// a 12 pt bold font, so the arrow is made narrower; everything else is the platform's style.
class NarrowComboArrowStyle final : public QProxyStyle {
 public:
  using QProxyStyle::QProxyStyle;

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override {
    if (control != CC_ComboBox || (part != SC_ComboBoxArrow && part != SC_ComboBoxEditField)) {
      return QProxyStyle::subControlRect(control, option, part, widget);
    }
    constexpr int kArrow = 14;
    constexpr int kFrame = 2;
    const QRect r = option->rect;
    const QRect rect = part == SC_ComboBoxArrow
                           ? QRect(r.right() - kArrow + 1, r.top(), kArrow, r.height())
                           : QRect(r.left() + kFrame, r.top() + kFrame,
                                   r.width() - kArrow - 2 * kFrame, r.height() - 2 * kFrame);
    return visualRect(option->direction, r, rect);
  }
};

}  // namespace

QStyle* NarrowArrowComboStyle() {
  return ApplicationProxyStyle<NarrowComboArrowStyle>();
}

}  // namespace morlane::gui::qt
