// The real program with its window on a private X server, worked as a service engineer works
// it: clicks at the places of the layout, keys typed, message boxes answered. No window manager
// runs, so windows appear where the program puts them and are found by their titles.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

#include "runner.h"
#include "xserver.h"

namespace morlane::e2e {
namespace {

// ---- Where a user finds the controls ----------------------------------------------------------

// The layout in twips relative to its container; 15 twips are one pixel. The rows sit in
// FrameServiceCounter (90, 120), which sits in MainFrame (0, 360).
struct Twips {
  int left, top, width, height;
};
constexpr int kRowsLeft = 0 + 90;
constexpr int kRowsTop = 360 + 120;
constexpr Twips kClientArea{0, 0, 11880, 8595};
constexpr Twips kOk{8400, 7680, 1695, 855};
constexpr Twips kCancel{10170, 7680, 1695, 855};
constexpr Twips kQuest{7350, 7680, 975, 855};
constexpr Twips Combo(int row) {
  return {kRowsLeft + 2115, kRowsTop + 810 + 840 * (row - 1), 495, 420};
}
constexpr Twips MachineLabel(int row) {
  return {kRowsLeft + 120, kRowsTop + 690 + 840 * (row - 1), 1575, 615};
}

constexpr int Px(int twips) {
  return (twips + 7) / 15;
}
Rect Pixels(Twips t) {
  return {Px(t.left), Px(t.top), Px(t.width), Px(t.height)};
}

// What the buttons show: the green check mark and the red cross in colour while enabled (Qt
// greys a disabled button's picture), the question-mark button green in help mode.
bool CheckMarkGreen(Rgb c) {
  return c.green > 120 && c.red < 80 && c.blue < 80;
}
bool CrossRed(Rgb c) {
  return c.red > 150 && c.green < 80 && c.blue < 80;
}
bool HelpGreen(Rgb c) {
  return c.green > 200 && c.red < 100 && c.blue < 100;
}

// ---- The project ----------------------------------------------------------------------------

// Three machines; Labeler (2) has no service counter.
const std::string kProgramIni =
    "; plant 7\r\n[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=2\r\n"
    "OrderOfServiceCounter3=1\r\n\r\n[Machine1]\r\nMachineName=Filler\r\n[Machine2]\r\n"
    "MachineName=Labeler\r\n[Machine3]\r\nMachineName=Cartoner\r\n";
const std::string kCfg =
    "[Project]\r\nForMachine1=true\r\nForMachine2=false\r\nForMachine3=TRUE\r\n"
    "ValidMachines=Filler,Cartoner\r\n";
const std::string kCancelLine = "Konfigurations-EXE wurde abgebrochen:     Morlane\r\n";
const std::string kStandalone = "Erweiterte Konfiguration Config - standalone";
const std::string kIntegrated = "Erweiterte Konfiguration Config - integriert";
const std::string kAppTitle = "Morlane_Config";  // the boxes without a title of their own
#ifdef MORLANE_UNDER_WINE
const std::string kWine = MORLANE_UNDER_WINE;
#else
const std::string kWine;
#endif

std::string Positions(const std::string& first, const std::string& third) {
  // Both programs change only the lines concerned.
  return "; plant 7\r\n[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=" + first +
         "\r\nOrderOfServiceCounter3=" + third +
         "\r\n\r\n[Machine1]\r\nMachineName=Filler\r\n[Machine2]\r\n"
         "MachineName=Labeler\r\n[Machine3]\r\nMachineName=Cartoner\r\n";
}
std::string Stamped(const std::string& mode) {
  return kCfg + "[Info]\r\nS_Prog=1.0.0 - " + mode + "\r\nS_Editor=" + EditorEncoded() + "\r\n";
}

// A step the rest of a case depends on did not happen; gtest reports the message.
struct StepFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

constexpr int kWaitMs = 10000;  // for anything the program does in answer to a user

class WindowRun : public ::testing::Test {
 protected:
  WindowRun() = default;
  explicit WindowRun(const std::string& folder) : p(folder, folder) {}

  static void SetUpTestSuite() {
    if (FindTool("Xvfb").empty() || FindTool("xdotool").empty()) {
      skip_ = "Xvfb or xdotool is not installed (Debian packages xvfb, xdotool)";
      return;
    }
    screen_ = new VirtualScreen();
    desktop_ = new Desktop(screen_->display());
  }
  static void TearDownTestSuite() {
    // The client first: Xlib ends the process when its server goes away under it.
    delete desktop_;
    desktop_ = nullptr;
    delete screen_;
    screen_ = nullptr;
  }

  void SetUp() override {
    if (!skip_.empty()) GTEST_SKIP() << skip_;
    ASSERT_TRUE(screen_ != nullptr && !screen_->display().empty()) << screen_->error();
    ASSERT_TRUE(desktop_->Connected()) << "no connection to " << screen_->display();
    // Whatever an earlier case left on the screen has gone with its program.
    ASSERT_TRUE(WaitUntil([] { return desktop_->ShownTitles().empty(); }, kWaitMs))
        << desktop_->ShownTitles();
    input_ = std::make_unique<UserInput>(screen_->display());
    RemoveOldScreenshots();
    // Qt wants a private runtime directory; without one it complains on stderr.
    std::filesystem::create_directories(p.dir / "runtime");
    ::chmod((p.dir / "runtime").c_str(), 0700);
    p.Write("parameter/Program.ini", kProgramIni);
    p.Write("Morlane/Morlane.cfg", kCfg);
  }

  void TearDown() override {
    if (HasFailure() && desktop_ != nullptr && desktop_->Connected()) Screenshot("failure");
    program_.reset();  // kills its process group if it still runs
    bus_.reset();
  }

  static std::string OnScreen() {
    const std::string titles = desktop_->ShownTitles();
    return titles.empty() ? "nothing" : titles;
  }

  void Start(const std::vector<std::string>& args) {
    std::vector<std::string> environment = {"DISPLAY=" + screen_->display(),
                                            "XDG_RUNTIME_DIR=" + (p.dir / "runtime")};
    environment.insert(environment.end(), environment_.begin(), environment_.end());
    program_ = p.Start(args, environment);
  }

  // The Linux program shows itself to a screen reader on a private accessibility bus; the
  // Windows program's controls are read directly.
  void ListenAsScreenReader() {
    if (kUnderWine) return;
    bus_ = std::make_unique<AccessibilityBus>(screen_->display(), p.dir / "runtime");
    if (!bus_->error().empty()) throw StepFailed(bus_->error());
    environment_ = bus_->Environment();
  }

  // What a screen reader says of each button, box and label, "role|name|states|description",
  // sorted (screen_reader.py, window_probe.cpp).
  std::vector<std::string> Spoken() {
    const std::vector<std::string> reader =
        kUnderWine ? std::vector<std::string>{kWine, MORLANE_SCREEN_READER, kStandalone}
                   : std::vector<std::string>{"/usr/bin/python3", MORLANE_SCREEN_READER, kAppTitle};
    const ToolResult r = RunTool(reader, screen_->display(), 20000, environment_);
    if (r.status != 0) throw StepFailed("no screen reader's view: " + r.output);
    std::vector<std::string> lines;
    std::istringstream output(r.output);
    for (std::string line; std::getline(output, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();  // Wine's console ends lines so
      if (line.find('|') != std::string::npos) lines.push_back(line);
    }
    std::sort(lines.begin(), lines.end());
    return lines;
  }
  // The states of the control with this role and name, "" when it has none or is not there.
  std::string StatesOf(const std::string& role, const std::string& name) {
    const std::string start = role + "|" + name + "|";
    for (const std::string& line : Spoken()) {
      if (line.rfind(start, 0) == 0)
        return line.substr(start.size(), line.find('|', start.size()) - start.size());
    }
    return "";
  }

  // Waits for a window of the program with this title; gives up early when the program ends.
  WindowId WaitForTitle(const std::string& title, const std::string& what) {
    WindowId found = 0;
    WaitUntil([&] { return (found = desktop_->Find(title)) != 0 || !program_->Running(); },
              kWaitMs);
    if (found == 0) {
      throw StepFailed("no " + what + " \"" + title + "\"; on the screen: " + OnScreen() +
                       (program_->Running() ? "" : "; the program has ended") +
                       "; stderr: " + testing::ReadFile(p.dir / "stderr.txt"));
    }
    return found;
  }

  // Starts the program and waits until its window shows the caption and is ready for input:
  // painted, with OK enabled.
  WindowId Open(const std::vector<std::string>& args, const std::string& caption) {
    Start(args);
    window_ = WaitForTitle(caption, "window");
    WaitUntilOkEnabled();
    return window_;
  }

  void WaitUntilOkEnabled() {
    const bool enabled = WaitUntil(
        [&] { return desktop_->CountPixels(window_, Pixels(kOk), CheckMarkGreen) > 100; }, kWaitMs);
    if (!enabled) throw StepFailed("OK does not show its green check mark");
  }

  // Cancel is painted after OK: wait for it too.
  bool CancelShowsItsCross() {
    return WaitUntil([&] { return ShowsInColour(kCancel, CrossRed, 100); }, kWaitMs);
  }

  bool ShowsInColour(const Twips& button, bool (*colour)(Rgb), int atLeast) {
    return desktop_->CountPixels(window_, Pixels(button), colour) >= atLeast;
  }

  void Click(const Twips& control) {
    const Rect r = Pixels(control);
    Click(r.x + r.width / 2, r.y + r.height / 2);
  }
  void Click(int x, int y) {
    if (!input_->Click(window_, x, y)) throw StepFailed("xdotool could not click");
  }
  void Keys(const std::vector<std::string>& keys) {
    if (!input_->Keys(keys)) throw StepFailed("xdotool could not press the keys");
  }

  // Chooses from a row's drop-down list: opens it with its arrow, moves with the keys, and
  // takes the entry with Return.
  void ChooseFromList(int row, const std::vector<std::string>& moves) {
    const Rect combo = Pixels(Combo(row));
    // The Windows program may still be painting its boxes: wait for a white edit field.
    int arrow = 0;
    WaitUntil([&] { return (arrow = EditFieldEnd(row)) > combo.x + 10; }, kWaitMs);
    Click(arrow + 6, combo.y + combo.height / 2);
    if (!WaitUntil([] { return desktop_->OpenPopup() != 0; }, kWaitMs)) {
      throw StepFailed("the list of row " + std::to_string(row) + " did not open");
    }
    std::vector<std::string> keys = moves;
    keys.push_back("Return");
    Keys(keys);
    if (!WaitUntil([] { return desktop_->OpenPopup() == 0; }, kWaitMs)) {
      throw StepFailed("the list of row " + std::to_string(row) + " did not close");
    }
  }

  // The first column right of a row's white edit field: where its arrow begins. The box may
  // have grown to the right of its place in the layout to show its text whole.
  int EditFieldEnd(int row) {
    const Rect box = Pixels(Combo(row));
    const auto white = [](Rgb c) { return c.red > 240 && c.green > 240 && c.blue > 240; };
    int x = box.x + 3;
    while (x < kClientArea.width / 15 &&
           desktop_->CountPixels(window_, {x, box.y + 4, 1, 1}, white) == 1) {
      ++x;
    }
    return x;
  }

  // Replaces a row's text by typing.
  void TypeInto(int row, const std::string& text) {
    const Rect combo = Pixels(Combo(row));
    Click(combo.x + combo.width / 4, combo.y + combo.height / 2);
    if (!desktop_->Focus(window_)) throw StepFailed("the window does not take the focus");
    Keys({"ctrl+a"});
    if (!input_->Type(text)) throw StepFailed("xdotool could not type");
  }

  WindowId WaitForBox(const std::string& title) { return WaitForTitle(title, "message box"); }

  // A box's height once it has been laid out: the same in two looks 100 ms apart.
  int SettledHeight(WindowId box) {
    int height = desktop_->Geometry(box).height;
    WaitUntil(
        [&] {
          std::this_thread::sleep_for(std::chrono::milliseconds(100));
          const int now = desktop_->Geometry(box).height;
          return std::exchange(height, now) == now;
        },
        kWaitMs);
    return height;
  }

  // Answers a message box with keys and waits until it has gone.
  void Answer(WindowId box, const std::vector<std::string>& keys) {
    if (!desktop_->Focus(box)) throw StepFailed("the message box does not take the focus");
    Keys(keys);
    if (!desktop_->WaitUntilGone(box, kWaitMs)) throw StepFailed("the message box stays open");
  }

  // The program ends by itself after a store or a confirmed cancel, with status 0 and nothing
  // said on stderr.
  void ExpectEndsWithZero() {
    const Outcome run = program_->Wait(kWaitMs);
    EXPECT_FALSE(run.timedOut) << "the program did not end; on the screen: " << OnScreen();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.stderrText, "");
  }
  bool StillRunning() { return program_->Running() && desktop_->Shown(window_); }

  // build-e2e/tests/e2e/screenshots/<case>-<what>.png, for a person to look at.
  static std::string ScreenshotPrefix() {
    return ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string("-");
  }
  void RemoveOldScreenshots() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(MORLANE_SCREENSHOT_DIR, ignored)) {
      if (entry.path().filename().string().rfind(ScreenshotPrefix(), 0) == 0) {
        std::filesystem::remove(entry.path(), ignored);
      }
    }
  }
  void Screenshot(const std::string& what) {
    static const std::string import = FindTool("import");
    if (import.empty()) return;
    std::filesystem::create_directories(MORLANE_SCREENSHOT_DIR);
    const std::string file =
        std::string(MORLANE_SCREENSHOT_DIR) + "/" + ScreenshotPrefix() + what + ".png";
    const ToolResult r = RunTool({import, "-display", screen_->display(), "-window", "root", file},
                                 screen_->display(), 10000);
    if (r.status != 0) ADD_FAILURE() << "no screenshot " << file << ": " << r.output;
  }

  // The integrated start: machine names from the product configuration ini, positions from the
  // host's working copy.
  std::vector<std::string> Integrated() {
    p.Write("parameter/m4tconfiguration.ini",
            "[Common]\r\nSaveAndRestore=" + p.ProgramPath("SaveAndRestore") +
                "\r\nNameM1=Filler\r\nNameM2=Labeler\r\nNameM3=Cartoner\r\n");
    p.Write("SaveAndRestore/parameter/program.ini",
            "[Project]\r\nOrderOfServiceCounter1=1\r\nOrderOfServiceCounter3=3\r\n");
    std::filesystem::create_directories(p.Path("log"));
    return {"/EXTERNAL=M4TCFG", "/LOGFILE=" + p.ProgramPath("log/cfglog.txt")};
  }

  // A path in a message as the program shows it: Windows shows paths upper-cased.
  std::string ShownPath(const std::string& relative) const {
    std::string path = p.ProgramPath(relative);
    if (kUnderWine) {
      for (char& c : path)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return path;
  }

  // Nothing stored, stamped or logged: the project as the case prepared it.
  void ExpectNothingWritten() {
    EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
    EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
    EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  }

  static inline std::string skip_;
  static inline VirtualScreen* screen_ = nullptr;
  static inline Desktop* desktop_ = nullptr;

  std::unique_ptr<AccessibilityBus> bus_;
  std::vector<std::string> environment_;  // added to the program's and the reader's
  ProjectTree p;
  ServicePackLogWatcher servicePackLog{p};
  std::unique_ptr<UserInput> input_;
  std::unique_ptr<RunningProgram> program_;
  WindowId window_ = 0;
};

// ---- Start modes ------------------------------------------------------------------------------

TEST_F(WindowRun, CaptionNamesTheProgramFolderAndTheStartMode) {
  Open({}, kStandalone);
  const Rect client = desktop_->Geometry(window_);
  EXPECT_EQ(client.width, Px(kClientArea.width));
  EXPECT_EQ(client.height, Px(kClientArea.height));
  Screenshot("standalone");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);  // the same positions again
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));

  const auto args = Integrated();
  Open(args, kIntegrated);
  Screenshot("integrated");
  Click(kCancel);
  const WindowId question = WaitForBox("Cancel?");
  Screenshot("integrated-question");
  Answer(question, {"y"});
  ExpectEndsWithZero();
  // Integrated, a confirmed cancel goes to the host's log file.
  EXPECT_EQ(p.Read("log/cfglog.txt"), kCancelLine);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

// A project and program folder named with characters Windows-1252 lacks.
class WindowRunUnderAnyName : public WindowRun {
 protected:
  static inline const std::string kName =
      "Zak\xc5\x82"
      "ad \xc5\x82\xc3\xb3"
      "d\xc5\xba";
  WindowRunUnderAnyName() : WindowRun(kName) {}
};

TEST_F(WindowRunUnderAnyName, CaptionShowsTheFolderAndBothModesStore) {
  if (kUnderWine) GTEST_SKIP() << "the Windows program takes paths in the ANSI code page";
  Open({}, "Erweiterte Konfiguration " + kName + " - standalone");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));

  const auto args = Integrated();
  // In a Windows-1252 file the folder's name is written with marks for what the code page lacks.
  p.Write("parameter/m4tconfiguration.ini",
          "[Common]\r\nSaveAndRestore=" + p.dir.path() +
              "/Zak<U+0142>ad <U+0142>\xf3"
              "d<U+017A>" +
              "/SaveAndRestore\r\nNameM1=Filler\r\nNameM2=Labeler\r\nNameM3=Cartoner\r\n");
  Open(args, "Erweiterte Konfiguration " + kName + " - integriert");
  ChooseFromList(1, {"Down"});
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("2", "3"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Integrated"));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, IntegratedStartShowsTheWorkingCopyAndStoresIntoTheProject) {
  const auto args = Integrated();
  const std::string workingCopy = p.Read("SaveAndRestore/parameter/program.ini");
  Open(args, kIntegrated);
  // The list opens at the shown position 1 of the working copy; one down is 2. Row 3 keeps
  // the working copy's 3.
  ChooseFromList(1, {"Down"});
  Screenshot("edited");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("2", "3"));
  EXPECT_EQ(p.Read("SaveAndRestore/parameter/program.ini"), workingCopy);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Integrated"));
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("log/cfglog.txt")));
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

// ---- OK: storing, and what it refuses ---------------------------------------------------------

TEST_F(WindowRun, OkStoresAChosenAndATypedPositionAndEnds) {
  Open({}, kStandalone);
  ChooseFromList(1, {"Down"});  // one below the 2: the last entry, 3
  TypeInto(3, "2");
  Screenshot("edited");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("3", "2"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, DuplicateIsRefusedAndTheWindowStaysForCorrection) {
  Open({}, kStandalone);
  TypeInto(3, "2");  // row 1 holds 2 already
  Click(kOk);
  const WindowId box = WaitForBox(kAppTitle);
  Screenshot("refused");
  ExpectNothingWritten();
  Answer(box, {"Return"});
  EXPECT_TRUE(StillRunning());
  // Both buttons work again once the message is answered.
  WaitUntilOkEnabled();
  EXPECT_TRUE(CancelShowsItsCross());
  ExpectNothingWritten();

  TypeInto(3, "3");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("2", "3"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, TypedTextThatIsNoWholeNumberIsRefused) {
  Open({}, kStandalone);
  // Row 3 keeps its 1, so only the number check can refuse.
  for (const std::string typed : {"x", "40000"}) {
    TypeInto(1, typed);
    Click(kOk);
    const WindowId box = WaitForBox(kAppTitle);
    Screenshot("refused-" + typed);
    Answer(box, {"Escape"});  // the box's only button, OK, is also its escape button
    EXPECT_TRUE(StillRunning()) << typed;
    WaitUntilOkEnabled();
    ExpectNothingWritten();
  }
  // A number with a leading zero is a number; it is stored as typed.
  TypeInto(1, "03");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("03", "1"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, StoreThatCannotBeWrittenIsReportedNeverClaimed) {
  // Integrated, the positions come from the working copy and go to the project's program
  // ini, which is not there to be written.
  const auto args = Integrated();
  std::remove(p.Path("parameter/Program.ini").c_str());
  const std::string logLine =
      "Fehler in Morlane / Morlane_Config / WriteInputs (Nr. 75) :Path/File access error: " +
      ShownPath("parameter/Program.ini") + "\r\n";
  Open(args, kIntegrated);
  Click(kOk);
  // The missing file is reported once; resumed, the store is refused and the window stays.
  const WindowId error = WaitForBox("Unexpected error");
  Screenshot("error");
  Answer(error, {"Return"});  // Yes, resume, is the default button
  EXPECT_TRUE(StillRunning());
  WaitUntilOkEnabled();
  EXPECT_EQ(p.Read("log/cfglog.txt"), logLine);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);  // no stamp for an order not stored

  // No ends the program at once, with the failure's status.
  Click(kOk);
  Answer(WaitForBox("Unexpected error"), {"n"});
  const Outcome run = program_->Wait(kWaitMs);
  EXPECT_EQ(run.status, 1) << run.stderrText;
  EXPECT_EQ(p.Read("log/cfglog.txt"), logLine + logLine);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("parameter/Program.ini")));
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, SilentStartWithADuplicateShowsTheMessageThenTheWindow) {
  p.Write("parameter/Program.ini", Positions("1", "1"));
  Start({"/EXTERNAL=SILENT"});
  const WindowId box = WaitForBox(kAppTitle);
  EXPECT_EQ(desktop_->Find(kStandalone), 0u) << "the window came before the message";
  Screenshot("message");
  Answer(box, {"Return"});
  window_ = WaitForTitle(kStandalone, "window");
  WaitUntilOkEnabled();
  EXPECT_TRUE(CancelShowsItsCross());
  Screenshot("window");
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("1", "1"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);

  TypeInto(3, "2");
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), Positions("1", "2"));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped("Standalone"));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, MissingCfgIsShownOnceAndEndsWithoutStoring) {
  std::remove(p.Path("Morlane/Morlane.cfg").c_str());
  Start({});
  const WindowId box = WaitForBox(kAppTitle);
  Screenshot("message");
  EXPECT_EQ(desktop_->Find(kStandalone), 0u) << "the window came with the message";
  Answer(box, {"Return"});
  const Outcome run = program_->Wait(kWaitMs);
  EXPECT_EQ(run.status, 1) << run.stderrText;
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("Morlane/Morlane.cfg")));
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
}

// A set display whose server refuses the program (as sudo on a desktop can cause) ends as no
// display does: one line and status 2, or, silent, the message in the service-pack log.
TEST_F(WindowRun, DisplayThatRefusesTheConnectionEndsLikeNoDisplay) {
  if (kUnderWine) GTEST_SKIP() << "the display check is the Linux program's";
  const VirtualScreen refusing({}, true);
  ASSERT_FALSE(refusing.display().empty()) << refusing.error();
  const std::vector<std::string> environment = {"DISPLAY=" + refusing.display(),
                                                "XAUTHORITY=" + p.Path("no-cookies")};
  for (const auto& args : {std::vector<std::string>{}, Integrated()}) {
    const Outcome run = p.Run(args, environment);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.stderrText,
              "Morlane_Config: no usable display (no connection to the X display \"" +
                  refusing.display() + "\"); nothing was stored\n");
  }
  ExpectNothingWritten();
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("log/cfglog.txt")));
  EXPECT_EQ(servicePackLog.Appended(), "");

  p.Write("parameter/Program.ini", Positions("1", "1"));
  const Outcome silent = p.Run({"/EXTERNAL=SILENT"}, environment);
  EXPECT_EQ(silent.status, 1);
  EXPECT_EQ(silent.stderrText, "");
  EXPECT_EQ(servicePackLog.Appended(),
            "! Fault Morlane_Config: Mehrfachnennungen nicht erlaubt!\r\n");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
}

// ---- What the boxes show ------------------------------------------------------------------------

// Each box shows its whole text, as read: not only its last characters (a 33-pixel box used to
// show "-1" as "1"); and OK stores what was shown.
TEST_F(WindowRun, StoredPositionsShowWholeAndOkStoresWhatIsShown) {
  const std::string ini =
      "[Project]\r\nNumberOfMachines=4\r\nOrderOfServiceCounter2=10\r\nOrderOfServiceCounter3=-5"
      "\r\nOrderOfServiceCounter4=32767\r\n";
  const std::string cfg =
      "[Project]\r\nForMachine1=true\r\nForMachine2=true\r\nForMachine3=true\r\n"
      "ForMachine4=true\r\n";
  p.Write("parameter/Program.ini", ini);
  p.Write("Morlane/Morlane.cfg", cfg);
  Open({}, kStandalone);
  Screenshot("positions");
  // Along the middle of the edit field, from its left edge to the end of its white: the columns
  // with ink, grouped into the glyphs they draw.
  const auto glyphs = [&](int row) {
    const Rect box = Pixels(Combo(row));
    const int top = box.y + box.height / 2 - 6;
    const auto ink = [](Rgb c) { return c.red < 110 && c.green < 110 && c.blue < 110; };
    struct {
      int runs = 0, first = -1, last = -1, end = 0;
    } seen;
    bool inGlyph = false;
    const int end = EditFieldEnd(row);
    for (int x = box.x + 3; x < end; ++x) {
      const bool inked = desktop_->CountPixels(window_, {x, top, 1, 12}, ink) > 0;
      if (inked && !inGlyph) ++seen.runs;
      if (inked && seen.first < 0) seen.first = x;
      if (inked) seen.last = x;
      inGlyph = inked;
      seen.end = x;
    }
    return seen;
  };
  const struct {
    int row;
    const char* text;
    int glyphs;    // at least: a sign and a digit, two digits, ...
    int minWidth;  // the ink from the first to the last glyph
  } shown[] = {{1, "-1", 2, 8}, {2, "10", 2, 9}, {3, "-5", 2, 9}, {4, "32767", 3, 30}};
  for (const auto& s : shown) {
    const auto seen = glyphs(s.row);
    EXPECT_GE(seen.runs, s.glyphs) << s.text;
    EXPECT_GE(seen.last - seen.first + 1, s.minWidth) << s.text;
    // Not cut at the right either: white after the last glyph.
    EXPECT_LT(seen.last, seen.end - 1) << s.text;
  }
  // A position typed and left with Tab shows whole too, also where the box was made for short
  // ones (a box sized for its start values showed "10" scrolled to "0"; row 2 holds 10).
  TypeInto(1, "12");
  Keys({"Tab"});
  ASSERT_TRUE(WaitUntil([&] { return glyphs(1).runs >= 2; }, kWaitMs)) << "12 typed";
  EXPECT_GE(glyphs(1).last - glyphs(1).first + 1, 9);
  Click(kOk);
  ExpectEndsWithZero();
  EXPECT_EQ(
      p.Read("parameter/Program.ini"),
      "[Project]\r\nNumberOfMachines=4\r\nOrderOfServiceCounter2=10\r\nOrderOfServiceCounter3="
      "-5\r\nOrderOfServiceCounter4=32767\r\nOrderOfServiceCounter1=12\r\n");
}

// ---- Cancel and the close request ---------------------------------------------------------------

TEST_F(WindowRun, CancelAnsweredNoKeepsTheWindowAndYesEndsWithTheCancelLine) {
  Open({}, kStandalone);
  TypeInto(1, "3");  // an edit that the cancel discards
  Click(kCancel);
  const WindowId first = WaitForBox("Cancel?");
  Screenshot("question");
  Answer(first, {"Return"});  // No is the default button
  EXPECT_TRUE(StillRunning());
  ExpectNothingWritten();

  Click(kCancel);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("M4Tcfglog.txt"), kCancelLine);
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, CloseRequestAsksTheSameQuestionAlsoInHelpMode) {
  Open({}, kStandalone);
  ASSERT_TRUE(desktop_->TakesCloseRequests(window_));
  // Help mode changes what clicks do, not what closing the window does.
  Click(kQuest);
  ASSERT_TRUE(WaitUntil([&] { return ShowsInColour(kQuest, HelpGreen, 500); }, kWaitMs));
  desktop_->RequestClose(window_);
  const WindowId first = WaitForBox("Cancel?");
  Screenshot("question");
  Answer(first, {"n"});
  EXPECT_TRUE(StillRunning());
  ExpectNothingWritten();

  desktop_->RequestClose(window_);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("M4Tcfglog.txt"), kCancelLine);
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(WindowRun, KeyboardVisitsTheUsableCombosInRowOrderWhereEnterAndEscapeDoNothing) {
  Open({}, kStandalone);
  if (!desktop_->Focus(window_)) throw StepFailed("the window does not take the focus");
  // The help button has the focus when the window opens; in help mode every combo that the
  // keyboard reaches shows its help once, and the focus stays there after the box.
  Keys({"space"});
  ASSERT_TRUE(WaitUntil([&] { return ShowsInColour(kQuest, HelpGreen, 500); }, kWaitMs));
  for (int row : {1, 3}) {  // Labeler (2) has no service counter, rows 4 and 5 no machine
    Keys({"Tab"});
    Answer(WaitForBox("Info:"), {"Return"});
    if (!desktop_->Focus(window_)) throw StepFailed("the window does not take the focus");
    EXPECT_EQ(desktop_->Find("Info:"), 0u) << "row " << row;
  }
  Keys({"Return", "Escape"});  // in row 3's combo: neither stores nor cancels
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(desktop_->Find("Cancel?"), 0u);
  EXPECT_EQ(desktop_->Find("Info:"), 0u);
  ExpectNothingWritten();

  // On to Cancel; in help mode Enter there shows Cancel's help instead of asking.
  Keys({"Tab", "Return"});
  Answer(WaitForBox("Info:"), {"Return"});
  Click(kQuest);
  Click(kCancel);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
}

// ---- Context help -------------------------------------------------------------------------------

TEST_F(WindowRun, HelpModeShowsTheTextsInsteadOfActing) {
  const std::string language =
      "[Language]\r\nLanguage=1031\r\n[1031]\r\nHelp1=OK speichert die Reihenfolge.\r\n"
      "Help2=Abbrechen ohne zu speichern.\r\n"
      "Help11=Jede Maschine<CRLF>mit Servicez\xe4hler<crlf>bekommt einen Platz.<CRLF>\r\n";
  p.Write("Config/Morlane_Config.ini", language);
  Open({}, kStandalone);
  Click(kQuest);
  ASSERT_TRUE(WaitUntil([&] { return ShowsInColour(kQuest, HelpGreen, 500); }, kWaitMs));

  Click(MachineLabel(1));
  const WindowId labelHelp = WaitForBox("Info:");
  Screenshot("label");
  const int labelHelpHeight = SettledHeight(labelHelp);
  Answer(labelHelp, {"Return"});

  // OK shows its own text and stores nothing; the mode stays on.
  Click(kOk);
  const WindowId okHelp = WaitForBox("Info:");
  Screenshot("ok");
  // The markers broke the label's text into lines: its box is taller than OK's one-liner.
  // Wine's box is at least as high as its icon, which holds nearly three lines of its font.
  EXPECT_GT(labelHelpHeight, SettledHeight(okHelp) + (kUnderWine ? 0 : 20));
  Answer(okHelp, {"Return"});
  EXPECT_TRUE(StillRunning());
  ExpectNothingWritten();

  // Cancel too shows its text instead of asking.
  Click(kCancel);
  Answer(WaitForBox("Info:"), {"Return"});
  EXPECT_TRUE(StillRunning());

  // Off again: grey, and Cancel asks.
  Click(kQuest);
  ASSERT_TRUE(WaitUntil([&] { return !ShowsInColour(kQuest, HelpGreen, 1); }, kWaitMs));
  Click(kCancel);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
  EXPECT_EQ(p.Read("M4Tcfglog.txt"), kCancelLine);
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  // The texts given are kept; only the keys that were missing are added after them.
  EXPECT_EQ(p.Read("Config/Morlane_Config.ini").substr(0, language.size()), language);
}

// ---- For every user ----------------------------------------------------------------------------

// A screen reader tells every control apart, knows when help mode is on, and finds the user on
// the box at fault after a refused store; Enter and Escape there do nothing.
TEST_F(WindowRun, ScreenReaderTellsTheControlsApartAndFindsTheBoxAtFault) {
  p.Write("Config/Morlane_Config.ini",
          "[Language]\r\nLanguage=1031\r\n[1031]\r\nCaption_CommandCancel_=Verwerfen\r\n"
          "TTT_CommandOK_=Speichert<CRLF>und endet\r\nTTT_ComboOrder1_=<b>Platz</b> & 0\r\n");
  ListenAsScreenReader();
  Open({}, kStandalone);
  // The Linux program says its tool tips as descriptions, as plain text; the help button is a
  // toggle there.
  const auto tip = [](const std::string& text) { return kUnderWine ? "" : text; };
  const std::string quest = kUnderWine ? "push button" : "check box";
  std::vector<std::string> expected = {
      "push button|OK||" + tip("Speichert<CRLF>und endet"),
      "push button|Verwerfen||",
      quest + "|Hilfe|focused|",
      "combo box|Maschine 1  (Filler)||" + tip("<b>Platz</b> & 0"),
      "combo box|Maschine 2  ( none )|disabled|",
      "combo box|Maschine 3  (Cartoner)||",
      "combo box|Maschine 4  ( none )|disabled|",
      "combo box|Maschine 5  ( none )|disabled|",
      "label|Maschine 1  (Filler)||",
      "label|Maschine 2  ( none )|disabled|",
      "label|Maschine 3  (Cartoner)||",
      "label|Maschine 4  ( none )|disabled|",
      "label|Maschine 5  ( none )|disabled|",
      "label|Reihenfolge Servicez\xc3\xa4hler||",
      "label|Reject - Konfiguration Servicez\xc3\xa4hler||",
  };
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Spoken(), expected);

  Click(kQuest);
  ASSERT_TRUE(WaitUntil([&] { return ShowsInColour(kQuest, HelpGreen, 500); }, kWaitMs));
  EXPECT_NE(StatesOf(quest, "Hilfe").find("on"), std::string::npos) << "help mode on";
  Click(kQuest);
  ASSERT_TRUE(WaitUntil([&] { return !ShowsInColour(kQuest, HelpGreen, 1); }, kWaitMs));
  EXPECT_EQ(StatesOf(quest, "Hilfe").find("on"), std::string::npos) << "help mode off";

  // Row 1 holds 2 already: the store is refused, and the user lands on row 1, the first box
  // that gives the position twice, although row 3 was typed into last.
  TypeInto(3, "2");
  Click(kOk);
  Answer(WaitForBox(kAppTitle), {"Return"});
  WaitUntilOkEnabled();
  // Without a window manager the window gets the keyboard back from the box only so.
  if (!desktop_->Focus(window_)) throw StepFailed("the window does not take the focus");
  EXPECT_TRUE(WaitUntil([&] { return StatesOf("combo box", "Maschine 1  (Filler)") == "focused"; },
                        kWaitMs))
      << ::testing::PrintToString(Spoken());
  Keys({"Return", "Escape"});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(StillRunning());
  EXPECT_EQ(desktop_->Find("Cancel?"), 0u);
  EXPECT_EQ(desktop_->Find(kAppTitle), 0u);
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);

  Click(kCancel);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
}

// At 150 % (Linux) or 144 dpi (Windows) the designed window, 1188 x 860 pixels, is larger than
// the 1366 x 768 screen: it is scaled down to fit, title bar and buttons on the screen.
TEST_F(WindowRun, WholeWindowStaysOnASmallScreenAtLargeScale) {
  struct LargeScale {
    explicit LargeScale(const std::string& display) : display_(display) { Set("144"); }
    ~LargeScale() { Set("96"); }
    void Set(const std::string& dpi) {
      if (!kUnderWine) return;
      for (const char* key : {"HKCU\\Control Panel\\Desktop",
                              "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current\\"
                              "Software\\Fonts"}) {
        RunTool({kWine, "reg", "add", key, "/v", "LogPixels", "/t", "REG_DWORD", "/d", dpi, "/f"},
                display_, 30000);
      }
    }
    std::string display_;
  } scale(screen_->display());
  if (!kUnderWine) environment_ = {"QT_SCALE_FACTOR=1.5"};
  Start({});
  window_ = WaitForTitle(kStandalone, "window");
  const Rect r = desktop_->Geometry(window_);
  // Painted and ready: OK shows its green check mark in the bottom right quarter.
  const Rect buttons{r.width / 2, r.height * 3 / 4, r.width / 2, r.height / 4};
  EXPECT_TRUE(WaitUntil(
      [&] { return desktop_->CountPixels(window_, buttons, CheckMarkGreen) > 100; }, kWaitMs));
  Screenshot("scaled");
  EXPECT_GE(r.x, 0);
  EXPECT_GE(r.y, 0);
  EXPECT_LE(r.x + r.width, 1366);
  EXPECT_LE(r.y + r.height, 768);
  // Scaled, not cut: larger than at 96 dpi, in the designed proportions.
  EXPECT_GT(r.height, Px(kClientArea.height));
  EXPECT_NEAR(r.width * kClientArea.height / double(kClientArea.width), r.height, 4);
  desktop_->RequestClose(window_);
  Answer(WaitForBox("Cancel?"), {"y"});
  ExpectEndsWithZero();
}

}  // namespace
}  // namespace morlane::e2e
