#include "form/view_rules.h"

#include <algorithm>

namespace morlane::form {
namespace {

// What a grown control keeps free towards its container's edge and its neighbours.
constexpr int kGapTwips = 60;
// Ends a cut caption: "…" in Windows-1252.
constexpr char kEllipsis = '\x85';

bool Overlap(int from1, int to1, int from2, int to2) {
  return from1 < to2 && from2 < to1;
}

// The inside of control n's container (or the window's client area), in pixels.
Box Inside(const Controls& controls, std::size_t n, int dpi) {
  const auto container = ContainerOf(controls, n);
  if (!container) return {0, 0, Pixels(kClientWidth, dpi), Pixels(kClientHeight, dpi)};
  const Box box = DesignedBox(controls, *container, dpi);
  return {0, 0, box.width, box.height};
}

struct Lines {
  std::vector<std::string> lines;
  bool cut = false;
  int widest = 0;
};

// `text` as it fits `room` pixels: whole, or cut after a whole character and ended with "…".
std::string Elided(const std::string& text, const TextWidth& width, int room, bool& cut) {
  if (width(text) <= room) return text;
  cut = true;
  std::string shown = text;
  do {
    shown.pop_back();
  } while (!shown.empty() && width(shown + kEllipsis) > room);
  return shown + kEllipsis;
}

// The longest start of `text` that ends before a blank (or at its end) and fits; 0 when not
// even the first word does. A line never ends with an opening parenthesis: "( none )" stays
// together.
std::size_t FittingStart(std::string_view text, const TextWidth& width, int room) {
  std::size_t fits = 0;
  for (std::size_t end = 1; end <= text.size(); ++end) {
    if (end < text.size() && text[end] != ' ') continue;
    if (text[end - 1] == ' ') continue;  // a run of blanks: measured at its start
    if (end < text.size() && text[end - 1] == '(') continue;
    if (width(text.substr(0, end)) > room) break;
    fits = end;
  }
  return fits;
}

Lines BreakLines(const std::string& text, const TextWidth& width, int room, int maxLines) {
  Lines result;
  std::string rest = text;
  while (!rest.empty()) {
    std::string line;
    std::size_t cut = rest.size();
    if (static_cast<int>(result.lines.size()) == maxLines - 1) {
      line = Elided(rest, width, room, result.cut);
    } else if (cut = FittingStart(rest, width, room); cut == 0) {
      // A word wider than the line: as much of it as fits.
      cut = std::min(rest.find(' '), rest.size());
      line = Elided(rest.substr(0, cut), width, room, result.cut);
    } else {
      line = rest.substr(0, cut);
    }
    result.widest = std::max(result.widest, width(line));
    result.lines.push_back(std::move(line));
    rest.erase(0, std::min(rest.find_first_not_of(' ', cut), rest.size()));
  }
  return result;
}

int LinesIn(int height, int lineHeight) {
  return std::max(1, height / std::max(1, lineHeight));
}

}  // namespace

int Pixels(int twips, int dpi) {
  // Rounded to the nearest pixel, halves away from zero.
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled >= 0 ? scaled + 720 : scaled - 720) / 1440);
}

std::optional<std::size_t> PositionOf(const Controls& controls, ControlId id) {
  for (std::size_t n = 0; n < controls.size(); ++n) {
    if (controls[n].id == id) return n;
  }
  return std::nullopt;
}

std::optional<std::size_t> ContainerOf(const Controls& controls, std::size_t n) {
  if (n >= controls.size() || !controls[n].container) return std::nullopt;
  return PositionOf(controls, ControlId{*controls[n].container});
}

Box DesignedBox(const Controls& controls, std::size_t n, int dpi) {
  const Control& c = controls[n];
  return {Pixels(c.left, dpi), Pixels(c.top, dpi), Pixels(c.width, dpi), Pixels(c.height, dpi)};
}

Box Room(const Controls& controls, std::size_t n, int dpi) {
  const Box inside = Inside(controls, n, dpi);
  const int gap = Pixels(kGapTwips, dpi);
  Box room = DesignedBox(controls, n, dpi);
  int right = inside.Right() - gap;
  int bottom = inside.Bottom() - gap;
  for (std::size_t k = 0; k < controls.size(); ++k) {
    if (k == n || controls[k].container != controls[n].container) continue;
    const Box other = DesignedBox(controls, k, dpi);
    if (other.left >= room.Right() && Overlap(other.top, other.Bottom(), room.top, room.Bottom()))
      right = std::min(right, other.left - gap);
  }
  room.width = std::max(room.width, right - room.left);
  for (std::size_t k = 0; k < controls.size(); ++k) {
    if (k == n || controls[k].container != controls[n].container) continue;
    const Box other = DesignedBox(controls, k, dpi);
    if (other.top >= room.Bottom() && Overlap(other.left, other.Right(), room.left, room.Right()))
      bottom = std::min(bottom, other.top - gap);
  }
  room.height = std::max(room.height, bottom - room.top);
  return room;
}

bool TakesFocus(Kind kind) {
  return kind == Kind::CommandButton || kind == Kind::ComboBox;
}

std::vector<std::size_t> TabOrder(const Controls& controls) {
  std::vector<std::size_t> order;
  for (std::size_t n = 0; n < controls.size(); ++n) {
    if (TakesFocus(controls[n].kind)) order.push_back(n);
  }
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return controls[a].tabIndex < controls[b].tabIndex;
  });
  return order;
}

std::optional<std::size_t> FirstFocus(const Controls& controls) {
  for (const std::size_t n : TabOrder(controls)) {
    if (controls[n].enabled) return n;
  }
  return std::nullopt;
}

std::optional<std::size_t> NextFocus(const Controls& controls, std::optional<std::size_t> from,
                                     bool forward) {
  std::vector<std::size_t> order = TabOrder(controls);
  if (!forward) std::reverse(order.begin(), order.end());
  const auto at = from ? std::find(order.begin(), order.end(), *from) : order.end();
  // From outside the cycle the search starts at its beginning.
  const std::size_t start =
      at == order.end() ? 0 : static_cast<std::size_t>(at - order.begin()) + 1;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const std::size_t n = order[(start + k) % order.size()];
    if (controls[n].enabled) return n;
  }
  return std::nullopt;
}

std::optional<std::size_t> ListSelection(const Control& combo) {
  const auto found = std::find(combo.items.begin(), combo.items.end(), combo.text);
  if (found == combo.items.end()) return std::nullopt;
  return static_cast<std::size_t>(found - combo.items.begin());
}

int WidestPosition(const TextWidth& width) {
  int digit = 0;
  for (char c = '0'; c <= '9'; ++c) {
    digit = std::max(digit, width(std::string_view(&c, 1)));
  }
  return width("-") + 5 * digit;
}

int PositionBoxWidth(const Controls& controls, std::size_t n, int dpi, int missing) {
  const Box designed = DesignedBox(controls, n, dpi);
  const int room = Room(controls, n, dpi).width;
  return std::max(designed.width, std::min(designed.width + missing, room));
}

LabelFit FitLabel(const Controls& controls, std::size_t n, int dpi, const TextWidth& width,
                  int lineHeight) {
  const std::string& caption = controls[n].caption;
  LabelFit fit;
  fit.box = DesignedBox(controls, n, dpi);
  Lines lines = BreakLines(caption, width, fit.box.width, LinesIn(fit.box.height, lineHeight));
  if (lines.cut) {
    // Wider first, so that the rows keep their designed height where they can.
    const Box room = Room(controls, n, dpi);
    lines = BreakLines(caption, width, room.width, LinesIn(fit.box.height, lineHeight));
    if (lines.cut) lines = BreakLines(caption, width, room.width, LinesIn(room.height, lineHeight));
    const int height = static_cast<int>(lines.lines.size()) * lineHeight;
    fit.box.width = std::clamp(lines.widest, fit.box.width, room.width);
    fit.box.height = std::clamp(height, fit.box.height, room.height);
  }
  fit.lines = std::move(lines.lines);
  fit.cut = lines.cut;
  return fit;
}

std::string ShownToolTip(const Control& control, bool cut) {
  if (!control.toolTip.empty() || !cut) return control.toolTip;
  return control.caption;
}

// ---- Events ----------------------------------------------------------------------------------

template <typename Handler>
void ViewEvents::Run(Handler handler) {
  ++running_;
  handler();
  --running_;
}

void ViewEvents::Clicked(std::size_t n) {
  Run([&] { form_.Clicked(n); });
}

bool ViewEvents::Focused(std::size_t n, bool byClick) {
  if (running_ > 0) return false;
  const int before = boxes_;
  Run([&] { form_.Focused(n); });
  return byClick && boxes_ != before;
}

void ViewEvents::Activated() {
  if (running_ == 0) Run([&] { form_.Form_Activate(); });
}

bool ViewEvents::CloseRequested() {
  bool cancel = false;
  Run([&] { form_.Form_QueryUnload(cancel, 0); });
  return !cancel;
}

void ViewEvents::Resized() {
  Run([&] { form_.Form_Resize(); });
}

}  // namespace morlane::form
