// Text fitted into the controls by the form's rules: the position boxes wide enough for every
// position, the lists for their entries, and the row labels in lines (drawn by the window).
#include <algorithm>

#include "gui/win32/form_window.h"
#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

using form::Control;

// Measures text in a control's font.
class TextMeasure {
 public:
  TextMeasure(HWND hwnd, HFONT font)
      : hwnd_(hwnd), dc_(::GetDC(hwnd)), old_(::SelectObject(dc_, font)) {}
  ~TextMeasure() {
    ::SelectObject(dc_, old_);
    ::ReleaseDC(hwnd_, dc_);
  }
  TextMeasure(const TextMeasure&) = delete;
  TextMeasure& operator=(const TextMeasure&) = delete;

  int Width(std::string_view text) const {
    SIZE size{};
    ::GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  }
  int LineHeight() const {
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc_, &metrics);
    return static_cast<int>(metrics.tmHeight);
  }
  form::TextWidth Function() const {
    return [this](std::string_view text) { return Width(text); };
  }

 private:
  HWND hwnd_;
  HDC dc_;
  HGDIOBJ old_;
};

HFONT FontOfWindow(HWND hwnd) {
  return reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0));
}

// What a combo box needs beside its text: the arrow, the edges and the text's margins.
int ComboChrome() {
  return ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXEDGE) +
         2 * kComboTextMargin + 4;
}

}  // namespace

// Every position (any 16-bit value) shows whole whatever the box holds or the user types: the
// box grows as the form's box rule says, once, when it is made.
void FormWindow::FitCombo(std::size_t n) {
  const Shown& s = shown_[n];
  const TextMeasure measure(s.hwnd, FontOfWindow(s.hwnd));
  const form::Box designed = form::DesignedBox(events_.Controls(), n, layoutDpi_);
  const int missing = form::WidestPosition(measure.Function()) + ComboChrome() - designed.width;
  const int width = form::PositionBoxWidth(events_.Controls(), n, layoutDpi_, missing);
  RECT box{};
  ::GetWindowRect(s.hwnd, &box);
  if (width != box.right - box.left) {
    ::SetWindowPos(s.hwnd, nullptr, 0, 0, width, box.bottom - box.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

// The drop-down list at least as wide as its widest entry.
void FormWindow::FitList(std::size_t n) {
  const Shown& s = shown_[n];
  int widest = 0;
  {
    const TextMeasure measure(s.hwnd, FontOfWindow(s.hwnd));
    for (const std::string& item : s.items) {
      widest = std::max(widest, measure.Width(item));
    }
  }
  RECT box{};
  ::GetWindowRect(s.hwnd, &box);
  const int width = std::max<int>(box.right - box.left, widest + ComboChrome());
  ::SendMessageA(s.hwnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(width), 0);
}

void FormWindow::FitLabel(std::size_t n) {
  Shown& s = shown_[n];
  const TextMeasure measure(s.hwnd, FontOf(events_.Controls()[n].font));
  s.lineHeight = measure.LineHeight();
  form::LabelFit fit =
      form::FitLabel(events_.Controls(), n, layoutDpi_, measure.Function(), s.lineHeight);
  s.lines = std::move(fit.lines);
  s.cut = fit.cut;
  ::SetWindowPos(s.hwnd, nullptr, fit.box.left, fit.box.top, fit.box.width, fit.box.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(s.hwnd, nullptr, TRUE);
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
