#include "platform/win32/process_win32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/backend.h"
#include "platform/process.h"
#include "support/fakes.h"

namespace morlane::platform::win32 {
namespace {

using morlane::testing::ReadFile;
using morlane::testing::TempDir;
using morlane::testing::WriteFile;
using Strings = std::vector<std::string>;

TEST(Win32CommandLine, ArgumentsFollowTheProgramPathQuotedOrNot) {
  EXPECT_EQ(CommandLineArguments("\"C:\\Program Files\\Plant\\Morlane_Config.exe\" "
                                 "/EXTERNAL=M4TCFG /LOGFILE=d:\\a b.txt"),
            "/EXTERNAL=M4TCFG /LOGFILE=d:\\a b.txt");
  EXPECT_EQ(CommandLineArguments("C:\\Plant\\Morlane_Config.exe \t /EXTERNAL=SILENT  "),
            "/EXTERNAL=SILENT  ");
  // The closing quote ends the path even without a blank after it.
  EXPECT_EQ(CommandLineArguments("\"C:\\a b\\x.exe\"/EXTERNAL=SILENT"), "/EXTERNAL=SILENT");
  // A quote inside an unquoted path does not start a quoted part.
  EXPECT_EQ(CommandLineArguments("C:\\a\"b\\x.exe /A"), "/A");
  EXPECT_EQ(CommandLineArguments("Morlane_Config.exe"), "");
  EXPECT_EQ(CommandLineArguments("\"C:\\a b\\x.exe\"   "), "");
  EXPECT_EQ(CommandLineArguments("\"C:\\never closed /A"), "");
  EXPECT_EQ(CommandLineArguments(""), "");
}

TEST(Win32ModulePath, DirectoryHasNoTrailingBackslashExceptAtADriveRoot) {
  std::string dir, base;
  SplitModulePath("C:\\Plant\\Config\\Morlane_Config.exe", dir, base);
  EXPECT_EQ(dir, "C:\\Plant\\Config");
  EXPECT_EQ(base, "Morlane_Config");
  SplitModulePath("D:\\Morlane_Config.exe", dir, base);
  EXPECT_EQ(dir, "D:\\");
  EXPECT_EQ(base, "Morlane_Config");
  SplitModulePath("\\\\server\\share\\v1.2\\prog.x.exe", dir, base);
  EXPECT_EQ(dir, "\\\\server\\share\\v1.2");
  EXPECT_EQ(base, "prog.x");
}

TEST(Win32Environment, EntriesKeepTheirOrderWithoutTheDriveDirectories) {
  const char block[] = "=C:=C:\\Plant\0USERNAME=J\xf6rg\0=::=::\\\0PATH=C:\\a=b\0A=\0\0";
  EXPECT_EQ(EnvironmentBlockEntries(block), (Strings{"USERNAME=J\xf6rg", "PATH=C:\\a=b", "A="}));
  EXPECT_EQ(EnvironmentBlockEntries("\0"), Strings{});
}

TEST(Win32Process, RealServicesOfTheRunningProgram) {
  ASSERT_NE(::SetEnvironmentVariableA("MORLANE_TEST_USER", "J\xf6rg"), 0);
  SystemProcessServices process(0, nullptr);
  // The test program itself: its directory holds <base name>.exe.
  EXPECT_TRUE(
      std::filesystem::is_regular_file(std::filesystem::path(process.ApplicationDirectory()) /
                                       (process.ExecutableBaseName() + ".exe")))
      << process.ApplicationDirectory();
  EXPECT_EQ(process.ExecutableBaseName(), "platform_win32_tests");
  EXPECT_EQ(process.CommandLine().find("platform_win32_tests"), std::string::npos)
      << process.CommandLine();
  // From the version resource, which CMake fills from the project version.
  const Version v = process.ProgramVersion();
  EXPECT_EQ(
      std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision),
      MORLANE_PROJECT_VERSION);

  const Strings entries = process.EnvironmentEntries();
  EXPECT_NE(std::find(entries.begin(), entries.end(), "MORLANE_TEST_USER=J\xf6rg"), entries.end());
  for (const auto& entry : entries)
    EXPECT_NE(entry.front(), '=') << entry;
}

TEST(Win32Process, FileExistsMeansANormalVisibleFileWhateverTheCase) {
  TempDir dir;
  WriteFile(dir / "Parameter/Program.ini", "[Project]\r\n");
  WriteFile(dir / "hidden.ini", "");
  WriteFile(dir / "system.ini", "");
  WriteFile(dir / "readonly.ini", "");
  ASSERT_NE(::SetFileAttributesA((dir / "hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN), 0);
  ASSERT_NE(::SetFileAttributesA((dir / "system.ini").c_str(), FILE_ATTRIBUTE_SYSTEM), 0);
  ASSERT_NE(::SetFileAttributesA((dir / "readonly.ini").c_str(), FILE_ATTRIBUTE_READONLY), 0);
  SystemProcessServices process(0, nullptr);
  EXPECT_TRUE(process.FileExists(dir / "Parameter/Program.ini"));
  EXPECT_TRUE(process.FileExists(dir / "PARAMETER\\program.INI"));
  EXPECT_TRUE(process.FileExists(dir / "readonly.ini"));
  EXPECT_FALSE(process.FileExists(dir / "hidden.ini"));
  EXPECT_FALSE(process.FileExists(dir / "system.ini"));
  EXPECT_FALSE(process.FileExists(dir / "parameter"));
  EXPECT_FALSE(process.FileExists(dir / "parameter/missing.ini"));
  EXPECT_FALSE(process.FileExists(dir / "parameter/*.ini"));
  EXPECT_FALSE(process.FileExists(""));
  ::SetFileAttributesA((dir / "readonly.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32Process, AppendWritesBytesAsGivenAndFailsWithoutADirectory) {
  TempDir dir;
  SystemProcessServices process(0, nullptr);
  EXPECT_TRUE(process.AppendToFile(dir / "log.txt", "a\r\n"));
  EXPECT_TRUE(process.AppendToFile(dir / "LOG.TXT", "b\n\r\xe4\r\n"));
  EXPECT_EQ(ReadFile(dir / "log.txt"), "a\r\nb\n\r\xe4\r\n");
  EXPECT_FALSE(process.AppendToFile(dir / "missing/log.txt", "x"));
  EXPECT_FALSE(process.AppendToFile(dir / "log.txt/below", "x"));
  EXPECT_FALSE(process.AppendToFile("", "x"));
}

TEST(Win32GuiProvider, GivesTheNativeGuiOnceWithoutAnythingBesideTheProgram) {
  TempDir dir;  // an empty folder: no window module to load
  morlane::testing::FakeProcess process;
  process.applicationDirectory = std::filesystem::path(dir.path()).make_preferred().string();
  int argc = 0;
  const auto provider = MakeGuiProvider(process, argc, nullptr);
  EXPECT_TRUE(provider->DisplayAvailable());
  GuiModule* gui = provider->Gui();
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(provider->Gui(), gui);
  EXPECT_EQ(process.diagnostics, "");

  // Where there is no desktop to show it on, a box is no answer: the caller ends the run.
  const bool wine = ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version");
  if (!wine || std::getenv("DISPLAY") != nullptr)
    GTEST_SKIP() << "only under Wine without a display";
  EXPECT_THROW(gui->ShowMessage({"x", "", Buttons::Ok, Icon::Critical, Choice::Ok}),
               GuiUnavailable);
}

}  // namespace
}  // namespace morlane::platform::win32
