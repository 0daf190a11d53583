// The window's behaviour that both views apply, without a toolkit.
#include "form/view_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "form/model.h"

namespace morlane::form {
namespace {

using Ids = std::vector<ControlId>;

const ControlId kOK{Name::CommandOK}, kCancel{Name::CommandCancel}, kQuest{Name::CommandQuest};
ControlId Combo(int i) {
  return {Name::ComboOrder, i};
}

std::size_t At(const Controls& controls, ControlId id) {
  return PositionOf(controls, id).value();
}

TEST(ViewRules, FocusMovesInTabOrderPastDisabledControlsAndWraps) {
  const Controls layout = CreateControls();
  Ids order;
  for (const std::size_t n : TabOrder(layout))
    order.push_back(layout[n].id);
  EXPECT_EQ(order, (Ids{kQuest, Combo(1), Combo(2), Combo(3), Combo(4), Combo(5), kCancel, kOK}));

  const struct {
    std::optional<ControlId> from;  // none: from the window
    bool forward;
    Ids disabled;
    std::optional<ControlId> to;
  } moves[] = {
      {kQuest, true, {}, Combo(1)},
      {Combo(5), true, {kOK}, kCancel},
      {kCancel, true, {kOK}, kQuest},
      {kCancel, true, {}, kOK},
      {kQuest, false, {kOK}, kCancel},
      {Combo(1), true, {Combo(2), Combo(3)}, Combo(4)},
      {Combo(4), false, {Combo(2), Combo(3)}, Combo(1)},
      {std::nullopt, true, {}, kQuest},
      {std::nullopt, false, {}, kOK},
      {ControlId{Name::Label, 2}, true, {}, kQuest},  // a label is outside the cycle
      {kQuest,
       true,
       {kQuest, kOK, kCancel, Combo(1), Combo(2), Combo(3), Combo(4), Combo(5)},
       std::nullopt},
  };
  for (const auto& m : moves) {
    Controls controls = layout;
    for (Control& c : controls)
      c.enabled = true;
    for (const ControlId id : m.disabled)
      controls[At(controls, id)].enabled = false;
    const auto from = m.from ? std::optional(At(controls, *m.from)) : std::nullopt;
    const auto to = NextFocus(controls, from, m.forward);
    EXPECT_EQ(to ? std::optional(controls[*to].id) : std::nullopt, m.to)
        << (m.from ? layout[At(layout, *m.from)].name : "window") << " " << m.forward;
  }

  // The window opens with the focus on "?", or on the first usable control after it.
  EXPECT_EQ(layout[FirstFocus(layout).value()].id, kQuest);
  Controls noQuest = layout;
  noQuest[At(noQuest, kQuest)].enabled = false;
  EXPECT_EQ(noQuest[FirstFocus(noQuest).value()].id, Combo(1));
}

TEST(ViewRules, ContainersAndListSelection) {
  const Controls layout = CreateControls();
  const auto containerOf = [&](ControlId id) {
    const auto c = ContainerOf(layout, At(layout, id));
    return c ? std::optional(layout[*c].id) : std::nullopt;
  };
  EXPECT_EQ(containerOf({Name::Label, 3}), ControlId{Name::FrameServiceCounter});
  EXPECT_EQ(containerOf(Combo(5)), ControlId{Name::FrameServiceCounter});
  EXPECT_EQ(containerOf({Name::FrameServiceCounter}), ControlId{Name::MainFrame});
  EXPECT_EQ(containerOf(kOK), std::nullopt);

  Control combo = layout[At(layout, Combo(1))];
  combo.items = {"0", "1", "2", "3"};
  for (const auto& [text, selected] :
       std::vector<std::pair<std::string, std::optional<std::size_t>>>{
           {"2", 2}, {"0", 0}, {"02", std::nullopt}, {"", std::nullopt}, {"-", std::nullopt}}) {
    combo.text = text;
    EXPECT_EQ(ListSelection(combo), selected) << text;
  }
}

// Every character 7 pixels wide, but "8" is 9 and "-" is 5.
int FakeWidth(std::string_view text) {
  int width = 0;
  for (const char c : text)
    width += c == '8' ? 9 : c == '-' ? 5 : 7;
  return width;
}

TEST(ViewRules, PositionBoxesGrowToTheRightWithinTheirFrameOnly) {
  const Controls layout = CreateControls();
  const std::size_t box = At(layout, Combo(1));
  EXPECT_EQ(WidestPosition(FakeWidth), 5 + 5 * 9);
  // Designed 33 pixels wide at 96 dpi; the frame's inside ends 153 pixels right of the box.
  const struct {
    int dpi, missing, width;
  } cases[] = {{96, -5, 33},   {96, 0, 33},   {96, 12, 45},
               {96, 500, 153}, {120, 12, 53}, {120, 500, 192}};
  for (const auto& c : cases) {
    EXPECT_EQ(PositionBoxWidth(layout, box, c.dpi, c.missing), c.width)
        << c.dpi << " " << c.missing;
  }
  // A label may take the room up to its box and down to the next row.
  EXPECT_EQ(Room(layout, At(layout, {Name::Label, 1}), 96), (Box{8, 46, 129, 52}));
  EXPECT_EQ(Room(layout, At(layout, {Name::Label, 5}), 96), (Box{8, 270, 129, 47}));
}

TEST(ViewRules, LabelsBreakAtBlanksGrowIntoTheFrameAndCutOnlyWhatStillDoesNotFit) {
  const std::string e = "\x85";  // "…"
  const struct {
    std::string caption;
    std::vector<std::string> lines;
    bool cut;
    Box box;
  } cases[] = {
      {"Maschine 1  (Filler)", {"Maschine 1", "(Filler)"}, false, {8, 46, 105, 41}},
      {"Maschine 2  ( none )", {"Maschine 2", "( none )"}, false, {8, 46, 105, 41}},
      // Wider, at the designed height.
      {"Maschine 3  (Kartonieranlage)",
       {"Maschine 3", "(Kartonieranlage)"},
       false,
       {8, 46, 119, 41}},
      // Wider and a line more.
      {"Maschine 4  (Case Packer Nord Halle 7)",
       {"Maschine 4  (Case", "Packer Nord Halle", "7)"},
       false,
       {8, 46, 119, 48}},
      // Still too long: cut after a whole character of the last line.
      {"Maschine 5  (Case Packer Nord Halle 7 Ost West Sued Tor 3)",
       {"Maschine 5  (Case", "Packer Nord Halle", "7 Ost West Sued T" + e},
       true,
       {8, 46, 126, 48}},
      // A word wider than the room ends in "…" and the rest follows.
      {"Etikettiermaschinenstation Nord",
       {"Etikettiermaschin" + e, "Nord"},
       true,
       {8, 46, 126, 41}},
  };
  Controls layout = CreateControls();
  const std::size_t label = At(layout, {Name::Label, 1});
  for (const auto& c : cases) {
    layout[label].caption = c.caption;
    const LabelFit fit = FitLabel(layout, label, 96, FakeWidth, 16);
    EXPECT_EQ(fit.lines, c.lines) << c.caption;
    EXPECT_EQ(fit.cut, c.cut) << c.caption;
    EXPECT_EQ(fit.box, c.box) << c.caption;
    // A cut name shows whole as the tool tip.
    EXPECT_EQ(ShownToolTip(layout[label], fit.cut), c.cut ? c.caption : "");
  }
  layout[label].toolTip = "own";
  EXPECT_EQ(ShownToolTip(layout[label], true), "own");
}

// Records the handlers the view events reach.
class Recorder final : public FormModel {
 public:
  std::vector<std::string> calls;
  std::function<void()> inHandler;  // what a handler's message box does to the view meanwhile

  const std::string& Caption() const override { return caption_; }
  bool BusyCursor() const override { return false; }
  void SetHost(FormHost*) override {}
  void Form_Activate() override { Record("Form_Activate"); }
  void Form_Resize() override { Record("Form_Resize"); }
  void Form_QueryUnload(bool& cancel, int) override {
    Record("Form_QueryUnload");
    cancel = true;
  }
  void CommandOK_Click() override { Record("CommandOK_Click"); }
  void CommandCancel_Click() override { Record("CommandCancel_Click"); }
  void CommandQuest_Click() override { Record("CommandQuest_Click"); }
  void LabelServiceCounter_Click() override {}
  void FrameServiceCounter_Click() override {}
  void Label_Click(int) override {}
  void ComboOrder_Click(int) override {}
  void ComboOrder_GotFocus(int i) override {
    Record("ComboOrder_GotFocus(" + std::to_string(i) + ")");
  }

 private:
  void Record(const std::string& call) {
    calls.push_back(call);
    if (auto hook = std::exchange(inHandler, nullptr)) hook();
  }
  std::string caption_;
};

TEST(ViewRules, WhatAHandlersMessageBoxCausesIsNoUserEvent) {
  Recorder form;
  ViewEvents events(form);
  const std::size_t combo = At(form.controls, Combo(2));

  // A box shown for a focusing click takes the activation and that click; focus and activation
  // meanwhile are the box's doing.
  form.inHandler = [&] {
    EXPECT_TRUE(events.HandlerRunning());
    events.BoxShown();
    events.Activated();
    EXPECT_FALSE(events.Focused(combo, true));
  };
  EXPECT_TRUE(events.Focused(combo, true));
  EXPECT_FALSE(events.HandlerRunning());
  // No box: the click acts; a box for a focus by the keyboard takes no click.
  EXPECT_FALSE(events.Focused(combo, true));
  form.inHandler = [&] { events.BoxShown(); };
  EXPECT_FALSE(events.Focused(combo, false));

  events.Activated();
  EXPECT_FALSE(events.CloseRequested());
  events.Clicked(At(form.controls, kOK));
  events.Resized();
  EXPECT_EQ(form.calls,
            (std::vector<std::string>{"ComboOrder_GotFocus(2)", "ComboOrder_GotFocus(2)",
                                      "ComboOrder_GotFocus(2)", "Form_Activate", "Form_QueryUnload",
                                      "CommandOK_Click", "Form_Resize"}));
}

}  // namespace
}  // namespace morlane::form
