// The native window of the form: Win32 controls built from the model's control table,
// mirroring it on every Sync() and forwarding clicks, focus changes, edits, activation and close
// requests to it. Texts are Windows-1252 and go to the ANSI services as they are.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "form/controls.h"
#include "form/events.h"
#include "form/view_rules.h"

namespace morlane::gui::win32 {

class FormWindow final : public form::FormHost {
 public:
  explicit FormWindow(form::FormEvents& form);
  ~FormWindow() override;
  FormWindow(const FormWindow&) = delete;
  FormWindow& operator=(const FormWindow&) = delete;

  // Builds the window and every control and attaches itself to the form; false when Windows
  // refuses to make the window, and Failure() says why.
  bool Create();
  const std::string& Failure() const { return failure_; }
  // Shows the window centred on the desktop; activation puts the focus on the first control.
  void Open();
  // Runs the window until it is destroyed (a confirmed close request).
  void Run();
  HWND Handle() const { return window_; }

  // FormHost
  void Sync() override;
  void ProcessPendingEvents() override;
  void FocusControl(std::size_t n) override;

 private:
  struct Shown {
    HWND hwnd = nullptr;
    HWND edit = nullptr;   // a combo box's edit field
    HICON icon = nullptr;  // a button's picture
    SIZE iconSize{};
    std::string caption;  // as last applied
    std::optional<form::Rgb> backColor;
    std::vector<std::string> items;
    std::vector<std::string> lines;  // labels: the caption as fitted
    int lineHeight = 0;
    bool cut = false;  // labels: the caption did not fit whole
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static bool RegisterClasses(HINSTANCE instance);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void DispatchCommand(WPARAM wParam);
  void OnCommand(std::size_t n, int code);
  LRESULT OnColour(UINT message, HDC dc, HWND control);
  void OnNotify(LPARAM lParam);
  void OnActivate(bool active);
  void OnClose();
  void PaintBackground(HDC dc);
  void DrawItem(const DRAWITEMSTRUCT& item);
  void DrawButton(const DRAWITEMSTRUCT& item);
  void DrawLabel(const DRAWITEMSTRUCT& item);
  void PaintFrame(HWND frame);
  void EraseFrame(HWND frame, HDC dc);
  void OnFramePressed(HWND frame, POINT at);
  void OnFrameReleased(HWND frame, POINT at);

  void Build();
  void MirrorButton(std::size_t n);
  void ReadColourScheme();
  COLORREF FaceColour(form::Rgb colour) const;
  COLORREF TextColour() const;
  // The layout at the window's DPI, scaled down where it is larger than the work area.
  double FitScale(const RECT& workArea) const;
  SIZE WindowSize() const;
  void Relayout(const RECT& suggested);
  HICON LoadPicture(form::Picture picture, SIZE& size) const;
  void AddToolTips();
  HWND CreateControl(std::size_t n, HWND parent);
  HWND CreateControlWindow(std::size_t n, HWND parent);
  void Mirror(std::size_t n);
  void MirrorCombo(std::size_t n);
  // Text measured in a control's font, on one memory DC for the whole window.
  form::TextWidth Measure(const form::Font& font);
  int LineHeight(const form::Font& font);
  int ComboWidth(std::size_t n);
  void FitList(std::size_t n);
  // Fits a label's caption into lines; answers the box to draw them in.
  form::Box FitLabel(std::size_t n);
  void ReadComboText(std::size_t n);
  // Keyboard handling of a dialog, without a default or cancel button; true when handled.
  bool PreTranslate(const MSG& message);
  void MoveFocus(bool forward);
  void FocusFirst();
  std::optional<std::size_t> PositionOf(HWND hwnd) const;
  int Pixels(int twips) const;
  HFONT FontOf(const form::Font& font);
  HBRUSH Brush(form::Rgb colour);

  form::FormEvents& events_;
  form::ViewEvents handlers_{events_};
  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  HWND toolTips_ = nullptr;
  HDC measure_ = nullptr;
  int dpi_ = 96;        // the screen's
  double scale_ = 1;    // below 1 where the designed window is larger than the work area
  int layoutDpi_ = 96;  // dpi_ scaled by scale_: the layout's pixels
  bool highContrast_ = false;
  std::vector<Shown> shown_;  // parallel to the form's controls
  std::map<std::string, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::string caption_;
  std::string failure_;
  std::string toolTipText_;  // lent to the tool tip control until it asks again
  HWND savedFocus_ = nullptr;
  bool built_ = false;
  bool busy_ = false;
  bool mirroring_ = false;  // changes made by mirroring are no user's edits
  bool restoring_ = false;  // focus given back on activation is no user's move
  std::optional<std::size_t> framePressed_;
};

}  // namespace morlane::gui::win32
