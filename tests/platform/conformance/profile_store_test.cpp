// Crash safety and the writers' lock of the engine, with the system's own child processes:
// the same cases for both builds (the Windows one under Wine).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "platform/conformance/child_process.h"
#include "platform/profile.h"
#include "platform/profile/file_primitives.h"
#include "support/fakes.h"

namespace morlane::platform {
namespace {

using morlane::testing::ChildProcess;
using morlane::testing::FolderEntries;
using morlane::testing::ReadFile;
using morlane::testing::TempDir;
using morlane::testing::WriteFile;
using Names = std::vector<std::string>;

// A writer killed at random moments leaves the old or the new file, and a reader never sees
// anything else. A kill between making and placing the temporary file (on POSIX: between
// naming and renaming it) leaves it as ".<name>.new", which the next write replaces.
TEST(ProfileCrash, KilledWriterLeavesTheOldOrTheNewFile) {
  TempDir dir;
  const std::string path = dir / "blob.ini";
  const std::size_t sizes[2] = {300 * 1024, 200 * 1024};
  auto fileWith = [](char c, std::size_t n) {
    return "[Data]\r\nblob=" + std::string(n, c) + "\r\ntail=end\r\n";
  };
  const std::string fileA = fileWith('a', sizes[0]);
  const std::string fileB = fileWith('b', sizes[1]);
  auto isOldOrNew = [&](const std::string& bytes) { return bytes == fileA || bytes == fileB; };

  // Kill moments spread over a few write durations after the start of the child.
  NativeProfileService service;
  WriteFile(path, fileB);
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_NE(service.WriteString("Data", "blob", std::string(sizes[0], 'a'), path), 0);
  const auto writeTime = std::chrono::steady_clock::now() - t0;
  ASSERT_EQ(ReadFile(path), fileA);
  std::mt19937 random(std::random_device{}());
  std::uniform_int_distribution<long long> delayUs(
      1000, 2000 + 4 * std::chrono::duration_cast<std::chrono::microseconds>(writeTime).count());

  const std::string sizeA = std::to_string(sizes[0]), sizeB = std::to_string(sizes[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  int kills = 0, changes = 0, reads = 0, refused = 0;
  std::string last = fileA;
  std::vector<char> buffer(sizes[0] + 2);
  while (kills < 30 && std::chrono::steady_clock::now() < deadline) {
    ChildProcess writer({MORLANE_PROFILE_CRASH_WRITER, path, sizeA, sizeB});
    ASSERT_TRUE(writer.started() && writer.ReadReady()) << "the writer did not start";
    const auto killAt =
        std::chrono::steady_clock::now() + std::chrono::microseconds(delayUs(random));
    do {
      // Windows may refuse to open the file for a moment while it is replaced; what a reader
      // gets once it is open is all that counts.
      std::ifstream in(path, std::ios::binary);
      if (!in) {
        ++refused;
        continue;
      }
      std::ostringstream seen;
      seen << in.rdbuf();
      ASSERT_TRUE(isOldOrNew(seen.str())) << "a reader saw a partial file";
      ++reads;
    } while (std::chrono::steady_clock::now() < killAt);
    writer.Kill();
    const int status = writer.Wait();
    ASSERT_EQ(status, -1) << "the writer stopped by itself: " << status;
    ++kills;

    const std::string bytes = ReadFile(path);
    ASSERT_TRUE(isOldOrNew(bytes)) << "after kill " << kills << ": " << bytes.size() << " bytes";
    const std::uint32_t n =
        service.GetString("data", "BLOB", "", buffer.data(), buffer.size(), path);
    EXPECT_EQ(n, bytes == fileA ? sizes[0] : sizes[1]);
    if (bytes != last) ++changes;
    last = bytes;
    for (const std::string& name : FolderEntries(dir.path())) {
      if (name != "blob.ini") {
        ASSERT_EQ(name, ".blob.ini.new");
      }
    }
  }
  EXPECT_GE(kills, 10);
  EXPECT_GT(changes, 0) << "no write completed between kills";
  std::cout << kills << " kills, " << changes << " changes seen, " << reads << " reads, " << refused
            << " opens refused\n";
}

// Runs of this program at once on one file: each read-modify-write holds the writers' lock and
// reads the file under it, so no run undoes another's update.
TEST(ProfileCrash, ConcurrentWritersLoseNoUpdate) {
  TempDir dir;
  const std::string path = dir / "shared.ini";
  WriteFile(path, "[Data]\r\nkeep=1\r\n");
  constexpr int kWriters = 8, kRounds = 50;
  std::vector<std::unique_ptr<ChildProcess>> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(std::make_unique<ChildProcess>(
        std::vector<std::string>{MORLANE_PROFILE_CRASH_WRITER, "keys", path,
                                 "w" + std::to_string(w) + "k", std::to_string(kRounds)}));
    ASSERT_TRUE(writers.back()->started());
  }
  for (const auto& writer : writers)
    EXPECT_EQ(writer->Wait(), 0);
  NativeProfileService service;
  int missing = 0;
  for (int w = 0; w < kWriters; ++w) {
    for (int k = 1; k <= kRounds; ++k) {
      const std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
      char buffer[16];
      missing += service.GetString("Data", key, "", buffer, sizeof buffer, path) == 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(missing, 0) << "updates lost";
  EXPECT_EQ(service.GetInt("Data", "keep", 0, path), 1u);
  EXPECT_EQ(FolderEntries(dir.path()), Names{"shared.ini"});
}

// A writer that finds the lock held for longer than any store takes gives up after the wait
// and says why, naming the file; the file stays as it was.
TEST(ProfileCrash, LockHeldTooLongFailsTheWriteAsInUse) {
  TempDir dir;
  const std::string path = dir / "held.ini";
  WriteFile(path, "[Data]\r\nk=1\r\n");
  const profile::WriterLock other(profile::SystemPath(path));
  ASSERT_TRUE(other.held());
  NativeProfileService service;
  try {
    service.WriteString("Data", "k", "2", path);
    ADD_FAILURE() << "the write did not wait for the lock";
  } catch (const std::filesystem::filesystem_error& e) {
    EXPECT_EQ(e.code(), std::errc::device_or_resource_busy);
    EXPECT_EQ(e.path1().string(), path);
  }
  EXPECT_EQ(ReadFile(path), "[Data]\r\nk=1\r\n");
}

}  // namespace
}  // namespace morlane::platform
