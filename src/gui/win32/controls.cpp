// Creating the window's controls from the form's control table, and their tool tips.
#include "gui/win32/form_window.h"

#include <commctrl.h>

#include "gui/win32/form_window_internal.h"
#include "gui/win32/resources.h"

namespace morlane::gui::win32 {
namespace {

using form::Control;
using form::Kind;
using form::Picture;

// A picture's icon resource and its designed size in pixels at 96 dpi; the icon holds it drawn
// at 1, 1.5 and 2 times that size.
struct Artwork {
  int icon = 0;
  SIZE size{};
};

Artwork ArtworkOf(Picture picture) {
  switch (picture) {
    case Picture::CheckMark:
      return {kIconCheckMark, {44, 36}};
    case Picture::Cross:
      return {kIconCross, {37, 39}};
    case Picture::QuestionArrow:
      return {kIconQuestionArrow, {41, 45}};
    case Picture::None:
      break;
  }
  return {};
}

// Where a control goes and the style all kinds share.
struct Placement {
  HINSTANCE instance;
  HWND parent;
  HMENU id;
  DWORD style;
  int x, y, width, height;
};

HWND NewChild(const char* windowClass, const char* text, DWORD style, const Placement& at,
              int height) {
  return ::CreateWindowExA(0, windowClass, text, at.style | style, at.x, at.y, at.width, height,
                           at.parent, at.id, at.instance, nullptr);
}

// The size of an icon as loaded.
SIZE IconSize(HICON icon) {
  SIZE size{};
  ICONINFO info{};
  if (icon != nullptr && ::GetIconInfo(icon, &info)) {
    BITMAP bitmap{};
    ::GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    size = {bitmap.bmWidth, info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
  }
  return size;
}

// The window height of a combo box includes its drop-down list.
HWND NewCombo(const Placement& at, HWND& edit) {
  const HWND hwnd =
      NewChild("COMBOBOX", "", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, at,
               at.height * (kListRows + 1));
  if (hwnd == nullptr) return nullptr;
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (::GetComboBoxInfo(hwnd, &info)) edit = info.hwndItem;
  return hwnd;
}

}  // namespace

// The common controls are loaded for the tool tips a moment after the window has shown: the
// window need not wait for them, and no one points at a control that early.
void FormWindow::AddToolTips() {
  if (toolTips_ != nullptr) return;
  const HMODULE common = ::LoadLibraryA("comctl32.dll");
  if (common == nullptr) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  // Through void (*)(), which converts to any function pointer without a warning.
  const auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(common, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  if (init == nullptr || !init(&classes)) return;
  toolTips_ =
      ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  if (toolTips_ == nullptr) return;
  // A width limit makes the tool tip break its text at the line breaks it contains.
  ::SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, Pixels(9000));
  // Every control asks for its tip when it is due, so a tip follows the model by itself.
  for (const Shown& s : shown_) {
    for (HWND tool : {s.hwnd, s.edit}) {
      if (tool == nullptr) continue;
      TOOLINFOA info{};
      info.cbSize = sizeof info;
      info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      info.hwnd = window_;
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      info.lpszText = LPSTR_TEXTCALLBACKA;
      ::SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
}

// The picture at its designed size at the layout's DPI: Windows takes the image of the icon
// nearest that size (scaling it where none is drawn at it); size is left alone without one.
HICON FormWindow::LoadPicture(Picture picture, SIZE& size) const {
  const Artwork art = ArtworkOf(picture);
  if (art.icon == 0) return nullptr;
  const auto loaded = static_cast<HICON>(::LoadImageA(
      instance_, MAKEINTRESOURCEA(art.icon), IMAGE_ICON, ::MulDiv(art.size.cx, layoutDpi_, 96),
      ::MulDiv(art.size.cy, layoutDpi_, 96), LR_DEFAULTCOLOR));
  if (loaded != nullptr) size = IconSize(loaded);
  return loaded;
}

HWND FormWindow::CreateControl(std::size_t n, HWND parent) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  const HWND hwnd = CreateControlWindow(n, parent);
  if (hwnd == nullptr) return nullptr;
  s.hwnd = hwnd;
  // What the first paint shows; Mirror() compares with it.
  s.caption = c.caption;
  s.backColor = c.backColor;
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), FALSE);
  if (c.kind == Kind::ComboBox && s.edit != nullptr) {
    // The box takes the height its font needs, as the designed height was worked out from;
    // little margin beside the text, so that a short position fits the narrow box.
    ::SendMessageA(s.edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                   MAKELPARAM(kComboTextMargin, kComboTextMargin));
  }
  return hwnd;
}

HWND FormWindow::CreateControlWindow(std::size_t n, HWND parent) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  const DWORD common = WS_CHILD | WS_VISIBLE | (c.enabled ? 0 : WS_DISABLED);
  // Made at the size the form's rules fit its text to: nothing is moved afterwards.
  const form::Box box =
      c.kind == Kind::Label ? FitLabel(n) : form::DesignedBox(events_.Controls(), n, layoutDpi_);
  const Placement at{
      .instance = instance_,
      .parent = parent,
      .id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + n)),
      .style = common,
      .x = box.left,
      .y = box.top,
      .width = c.kind == Kind::ComboBox ? ComboWidth(n) : box.width,
      .height = box.height,
  };
  switch (c.kind) {
    case Kind::CommandButton: {
      // Drawn by the window: the face takes the control's colour (the help button turns green).
      const HWND hwnd = NewChild("BUTTON", "", WS_TABSTOP | BS_OWNERDRAW, at, at.height);
      s.icon = LoadPicture(c.picture, s.iconSize);
      return hwnd;
    }
    case Kind::Frame: {
      const HWND hwnd = NewChild(kFrameClass, "", WS_CLIPSIBLINGS, at, at.height);
      if (hwnd != nullptr)
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      return hwnd;
    }
    case Kind::ComboBox:
      return NewCombo(at, s.edit);
    case Kind::Label:
      // Drawn by the window in the lines the form's label rule gives; the window text stays the
      // whole caption.
      return NewChild("STATIC", c.caption.c_str(), SS_OWNERDRAW | SS_NOTIFY, at, at.height);
  }
  return nullptr;
}

}  // namespace morlane::gui::win32
