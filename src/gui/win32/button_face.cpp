// The face of a command button, drawn by the window: its colour, edge, picture and caption.
#include "gui/win32/form_window.h"

#include <string>

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

// What a button's face shows, besides its colour and edge.
struct Face {
  const std::string& caption;
  HICON icon;
  SIZE iconSize;
  bool pushed;
  bool disabled;
};

void DrawPicture(HDC dc, const Face& face, int x, int y) {
  if (face.disabled) {
    ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(face.icon), 0, x, y,
                 face.iconSize.cx, face.iconSize.cy, DST_ICON | DSS_DISABLED);
  } else {
    ::DrawIconEx(dc, x, y, face.icon, face.iconSize.cx, face.iconSize.cy, 0, nullptr, DI_NORMAL);
  }
}

void DrawCaption(HDC dc, const Face& face, RECT area) {
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(face.disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  ::DrawTextA(dc, face.caption.c_str(), static_cast<int>(face.caption.size()), &area,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// The picture and the caption side by side, centred together; pushed, they move down and to
// the right by a pixel.
void DrawContent(HDC dc, const RECT& area, const Face& face) {
  const int shift = face.pushed ? 1 : 0;
  SIZE text{};
  const HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  if (!face.caption.empty()) {
    ::GetTextExtentPoint32A(dc, face.caption.c_str(), static_cast<int>(face.caption.size()), &text);
  }
  const int gap = (face.icon != nullptr && text.cx > 0) ? 4 : 0;
  const int contentWidth = (face.icon != nullptr ? face.iconSize.cx : 0) + gap + text.cx;
  int x = (area.left + area.right - contentWidth) / 2 + shift;
  if (face.icon != nullptr) {
    DrawPicture(dc, face, x, (area.top + area.bottom - face.iconSize.cy) / 2 + shift);
    x += face.iconSize.cx + gap;
  }
  if (text.cx > 0) DrawCaption(dc, face, {x, area.top + shift, x + text.cx, area.bottom + shift});
  ::SelectObject(dc, oldFont);
}

}  // namespace

void FormWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  const auto n = PositionOf(item.hwndItem);
  if (!n) return;
  const form::Control& c = events_.Controls()[*n];
  const Shown& s = shown_[*n];
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;

  ::FillRect(dc, &r, Brush(c.backColor.value_or(form::kLightGrey)));
  if (focused) {
    // The button that Enter presses has the dark outline of a dialog's default button.
    ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&r, -1, -1);
  }
  ::DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  DrawContent(dc, item.rcItem, {c.caption, s.icon, s.iconSize, pushed, disabled});
  if (focused) {
    RECT focus = r;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace morlane::gui::win32
