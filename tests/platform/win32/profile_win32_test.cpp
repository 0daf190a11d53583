// What the engine does with Windows' file system, beyond the table shared with POSIX: a file
// another program holds without sharing, the read-only attribute, another program that holds
// the file without letting it be replaced, and paths beyond MAX_PATH.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/process.h"
#include "platform/profile.h"
#include "support/fakes.h"

namespace morlane::platform {
namespace {

using morlane::testing::ReadFile;
using morlane::testing::TempDir;
using morlane::testing::WriteFile;

HANDLE Hold(const std::string& path, DWORD share) {
  return ::CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(Win32Profile, FileHeldWithoutSharingOrReadOnlyIsAFailureNeverAMissingFile) {
  TempDir dir;
  const std::string path = dir / "Program.ini";
  const std::string bytes = "[Project]\r\nOrderOfServiceCounter1=2\r\n";
  WriteFile(path, bytes);
  NativeProfileService service;
  char buffer[16];
  {
    // Share mode 0: the reads throw (the core reports error 75), the write fails.
    const HANDLE held = Hold(path, 0);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_THROW(service.GetString("Project", "OrderOfServiceCounter1", "", buffer, 16, path),
                 std::filesystem::filesystem_error);
    EXPECT_THROW(service.GetInt("Project", "OrderOfServiceCounter1", 0, path),
                 std::filesystem::filesystem_error);
    EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "1", path), 0);
    ::CloseHandle(held);
  }
  EXPECT_EQ(ReadFile(path), bytes);
  {
    // Read sharing only: readable, but neither replaced nor rewritten in place.
    const HANDLE held = Hold(path, FILE_SHARE_READ);
    EXPECT_EQ(service.GetInt("Project", "OrderOfServiceCounter1", 0, path), 2u);
    EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "1", path), 0);
    ::CloseHandle(held);
  }
  EXPECT_EQ(ReadFile(path), bytes);
  {
    // Without delete sharing the file cannot be replaced: it is rewritten in place.
    const HANDLE held = Hold(path, FILE_SHARE_READ | FILE_SHARE_WRITE);
    EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "1", path), 1);
    ::CloseHandle(held);
  }
  EXPECT_EQ(ReadFile(path), "[Project]\r\nOrderOfServiceCounter1=1\r\n");
  ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "3", path), 0);
  EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "1", path), 1);  // unchanged
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadFile(path), "[Project]\r\nOrderOfServiceCounter1=1\r\n");
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(entry.path().filename(), "Program.ini");
}

std::wstring Long(const std::string& path) {
  return L"\\\\?\\" + std::wstring(path.begin(), path.end());
}

TEST(Win32Profile, PathsBeyondMaxPathWork) {
  TempDir dir;
  std::vector<std::string> folders = {dir.path()};
  while (folders.back().size() < 300) {
    folders.push_back(folders.back() + "\\" + std::string(40, 'd'));
    ASSERT_TRUE(::CreateDirectoryW(Long(folders.back()).c_str(), nullptr));
  }
  const std::string path = folders.back() + "\\Program.ini";
  const std::string log = folders.back() + "\\M4Tcfglog.txt";
  NativeProfileService service;
  EXPECT_EQ(service.WriteString("Project", "OrderOfServiceCounter1", "2", path), 1);
  EXPECT_EQ(service.GetInt("Project", "OrderOfServiceCounter1", 0, path), 2u);
  SystemProcessServices process(0, nullptr);
  EXPECT_TRUE(process.FileExists(path));
  EXPECT_TRUE(process.AppendToFile(log, "line\r\n"));
  EXPECT_TRUE(process.FileExists(log));
  EXPECT_TRUE(::DeleteFileW(Long(path).c_str()) && ::DeleteFileW(Long(log).c_str()));
  while (folders.size() > 1) {
    EXPECT_TRUE(::RemoveDirectoryW(Long(folders.back()).c_str()));
    folders.pop_back();
  }
}

}  // namespace
}  // namespace morlane::platform
