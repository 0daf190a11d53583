// Text fitted into the controls by the form's rules: the position boxes wide enough for every
// position, the lists for their entries, and the row labels in lines (drawn by the window).
#include <algorithm>

#include "gui/win32/form_window.h"
#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

using form::Control;

// What a combo box needs beside its text: the arrow, the edges and the text's margins.
int ComboChrome() {
  return ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXEDGE) +
         2 * kComboTextMargin + 4;
}

}  // namespace

form::TextWidth FormWindow::Measure(const form::Font& font) {
  ::SelectObject(measure_, FontOf(font));
  return [dc = measure_](std::string_view text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
}

int FormWindow::LineHeight(const form::Font& font) {
  ::SelectObject(measure_, FontOf(font));
  TEXTMETRICA metrics{};
  ::GetTextMetricsA(measure_, &metrics);
  return static_cast<int>(metrics.tmHeight);
}

// Every position (any 16-bit value) shows whole whatever the box holds or the user types: the
// box is as wide as the form's box rule says.
int FormWindow::ComboWidth(std::size_t n) {
  const auto& controls = events_.Controls();
  const int widest = form::WidestPosition(Measure(controls[n].font));
  const int missing = widest + ComboChrome() - form::DesignedBox(controls, n, layoutDpi_).width;
  return form::PositionBoxWidth(controls, n, layoutDpi_, missing);
}

// The drop-down list at least as wide as its widest entry.
void FormWindow::FitList(std::size_t n) {
  const Shown& s = shown_[n];
  const form::TextWidth width = Measure(events_.Controls()[n].font);
  int widest = 0;
  for (const std::string& item : s.items) {
    widest = std::max(widest, width(item));
  }
  RECT box{};
  ::GetWindowRect(s.hwnd, &box);
  const int listWidth = std::max<int>(box.right - box.left, widest + ComboChrome());
  ::SendMessageA(s.hwnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(listWidth), 0);
}

form::Box FormWindow::FitLabel(std::size_t n) {
  Shown& s = shown_[n];
  const form::Font& font = events_.Controls()[n].font;
  s.lineHeight = LineHeight(font);
  form::LabelFit fit =
      form::FitLabel(events_.Controls(), n, layoutDpi_, Measure(font), s.lineHeight);
  s.lines = std::move(fit.lines);
  s.cut = fit.cut;
  if (s.hwnd != nullptr) ::InvalidateRect(s.hwnd, nullptr, TRUE);
  return fit.box;
}

void FormWindow::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.CtlType == ODT_STATIC) {
    DrawLabel(item);
  } else {
    DrawButton(item);
  }
}

// The fitted lines on the label's colour; a disabled label's text is grey, as Windows draws it.
void FormWindow::DrawLabel(const DRAWITEMSTRUCT& item) {
  const auto n = PositionOf(item.hwndItem);
  if (!n) return;
  const Control& c = events_.Controls()[*n];
  const Shown& s = shown_[*n];
  const HDC dc = item.hDC;
  ::FillRect(dc, &item.rcItem, Brush(c.backColor.value_or(form::kLightGrey)));
  const HGDIOBJ old = ::SelectObject(dc, FontOf(c.font));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, c.enabled ? TextColour() : ::GetSysColor(COLOR_GRAYTEXT));
  int y = item.rcItem.top;
  for (const std::string& line : s.lines) {
    ::TextOutA(dc, item.rcItem.left, y, line.data(), static_cast<int>(line.size()));
    y += s.lineHeight;
  }
  ::SelectObject(dc, old);
}

}  // namespace morlane::gui::win32
