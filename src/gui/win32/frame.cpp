// The frames: plain boxes painted by the window, clickable on their own area, that pass what
// the controls inside them tell to the window.
#include "gui/win32/form_window.h"

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

}  // namespace

LRESULT CALLBACK FormWindow::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = FromHandle(hwnd);
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    // What the controls inside tell their parent is the window's business.
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_NOTIFY:
      return self->OnMessage(message, wParam, lParam);
    case WM_ERASEBKGND:
      // The background is filled when Windows erases, as the window's own is; painting draws
      // the edge over it.
      self->EraseFrame(hwnd, reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_PAINT:
      self->PaintFrame(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      self->OnFramePressed(hwnd, PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      self->OnFrameReleased(hwnd, PointOf(lParam));
      return 0;
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void FormWindow::EraseFrame(HWND frame, HDC dc) {
  RECT r{};
  ::GetClientRect(frame, &r);
  const auto n = PositionOf(frame);
  const auto colour = n ? events_.Controls()[*n].backColor : std::nullopt;
  ::FillRect(dc, &r, Brush(colour.value_or(form::kLightGrey)));
}

void FormWindow::PaintFrame(HWND frame) {
  PAINTSTRUCT paint;
  const HDC dc = ::BeginPaint(frame, &paint);
  RECT r{};
  ::GetClientRect(frame, &r);
  // A plain box without a caption.
  ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
  ::EndPaint(frame, &paint);
}

// A click on the frame's own area; one on a control inside (enabled or not) is that control's
// business.
void FormWindow::OnFramePressed(HWND frame, POINT at) {
  if (::ChildWindowFromPointEx(frame, at, CWP_SKIPINVISIBLE) == frame) {
    framePressed_ = PositionOf(frame);
    ::SetCapture(frame);
  }
}

// The click counts where the button goes up on the frame's own area, as with a button.
void FormWindow::OnFrameReleased(HWND frame, POINT at) {
  if (!framePressed_) return;
  const std::size_t n = *framePressed_;
  framePressed_.reset();
  ::ReleaseCapture();
  RECT r{};
  ::GetClientRect(frame, &r);
  if (::PtInRect(&r, at) && ::ChildWindowFromPointEx(frame, at, CWP_SKIPINVISIBLE) == frame) {
    handlers_.Clicked(n);
  }
}

}  // namespace morlane::gui::win32
