// What the engine does with the POSIX file system: failures, case-insensitive paths, symbolic
// links, permission bits, the in-place fallback and a kill at every system call. The behaviour
// of both builds is in platform/conformance/ (the table, crash and lock tests).
#include "platform/profile.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>
#include <sstream>
#include <vector>

#include "support/fakes.h"

namespace morlane::platform {
namespace {

using morlane::testing::FolderEntries;
using morlane::testing::ReadFile;
using morlane::testing::TempDir;
using morlane::testing::WriteFile;
using Names = std::vector<std::string>;

struct stat Stat(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(PosixProfile, WriteThroughAMissingDirectoryOrAFileFailsAndCreatesNothing) {
  TempDir dir;
  WriteFile(dir / "plain", "x");
  ::mkdir((dir / "adir").c_str(), 0755);
  NativeProfileService service;
  for (const char* relative : {"missing/p.ini", "missing/deeper/p.ini", "plain/p.ini", "adir"}) {
    SCOPED_TRACE(relative);
    EXPECT_EQ(service.WriteString("A", "k", "v", dir / relative), 0);
    char buffer[8];
    EXPECT_EQ(service.GetString("A", "k", "dflt", buffer, sizeof buffer, dir / relative), 4u);
    EXPECT_EQ(service.GetInt("A", "k", -1, dir / relative), 4294967295u);
  }
  EXPECT_EQ(FolderEntries(dir.path()), (Names{"adir", "plain"}));
  EXPECT_EQ(FolderEntries(dir / "adir"), Names{});
  EXPECT_EQ(ReadFile(dir / "plain"), "x");
}

TEST(PosixProfile, PathsFindFilesAndDirectoriesWithoutRegardToCase) {
  TempDir dir;
  WriteFile(dir / "Parameter/Program.ini", "[Project]\r\nA=1\r\n");
  NativeProfileService service;
  const std::string asked = dir / "parameter/program.ini";
  char buffer[8];
  EXPECT_EQ(service.GetString("Project", "a", "", buffer, sizeof buffer, asked), 1u);
  EXPECT_STREQ(buffer, "1");
  EXPECT_EQ(service.GetInt("project", "A", -1, asked), 1u);
  EXPECT_NE(service.WriteString("Project", "B", "2", asked), 0);
  EXPECT_NE(service.WriteString("S", "k", "v", dir / "PARAMETER/new.ini"), 0);

  EXPECT_EQ(FolderEntries(dir.path()), Names{"Parameter"});
  EXPECT_EQ(FolderEntries(dir / "Parameter"), (Names{"Program.ini", "new.ini"}));
  EXPECT_EQ(ReadFile(dir / "Parameter/Program.ini"), "[Project]\r\nA=1\r\nB=2\r\n");
}

TEST(PosixProfile, ReplaceFollowsSymlinksAndKeepsPermissionBits) {
  TempDir dir;
  const std::string real = dir / "data/real.ini";
  WriteFile(real, "[A]\r\nk=1\r\n");
  ::chmod(real.c_str(), 0640);  // unusual bits that a replace must carry over
  ::mkdir((dir / "cfg").c_str(), 0755);
  ASSERT_EQ(::symlink("../data/real.ini", (dir / "cfg/link.ini").c_str()), 0);
  ASSERT_EQ(::symlink("../data/new.ini", (dir / "cfg/dangling.ini").c_str()), 0);
  const ino_t oldInode = Stat(real).st_ino;

  NativeProfileService service;
  EXPECT_NE(service.WriteString("A", "k", "2", dir / "cfg/link.ini"), 0);
  EXPECT_NE(service.WriteString("A", "k", "3", dir / "cfg/dangling.ini"), 0);

  EXPECT_EQ(ReadFile(real), "[A]\r\nk=2\r\n");
  EXPECT_EQ(Stat(real).st_mode & 07777, 0640u);
  EXPECT_NE(Stat(real).st_ino, oldInode) << "replaced by rename, not rewritten in place";
  EXPECT_EQ(ReadFile(dir / "data/new.ini"), "[A]\r\nk=3\r\n");
  struct stat link {};
  ASSERT_EQ(::lstat((dir / "cfg/link.ini").c_str(), &link), 0);
  EXPECT_TRUE(S_ISLNK(link.st_mode));
  EXPECT_EQ(FolderEntries(dir / "cfg"), (Names{"dangling.ini", "link.ini"}));
  EXPECT_EQ(FolderEntries(dir / "data"), (Names{"new.ini", "real.ini"}));
}

// Several values in one replacement give the same bytes as writing them one by one: new
// sections, keys after the last line without a line end, a UTF-16 file, a refused key.
TEST(PosixProfile, WriteStringsEndsAsWritingOneByOne) {
  TempDir dir;
  const ProfileEntries entries = {{"S", "a", "1"}, {"S", "b", " 2 "},       {"T", "y", "2"},
                                  {"S", "a", "3"}, {"S", "k=x", "refused"}, {"S", "c", "\xE9"}};
  for (const std::string& before :
       {std::string(), std::string("[S]\r\nold=1"), std::string("[T]\nx=1\n\n[S]\na=0\n\n"),
        std::string("\xFF\xFE[\0S\0]\0\r\0\n\0", 12)}) {
    WriteFile(dir / "one.ini", before);
    WriteFile(dir / "all.ini", before);
    NativeProfileService service;
    for (const ProfileEntry& e : entries)
      service.WriteString(e.section, e.key, e.value, dir / "one.ini");
    EXPECT_EQ(service.WriteStrings(entries, dir / "all.ini"), 0) << "one key is refused";
    EXPECT_EQ(ReadFile(dir / "all.ini"), ReadFile(dir / "one.ini")) << before;
  }
}

TEST(PosixProfile, NewFileGetsTheUsualModeUnderTheUmask) {
  TempDir dir;
  const mode_t oldMask = ::umask(027);
  NativeProfileService service;
  const int ok = service.WriteString("A", "k", "v", dir / "new.ini");
  ::umask(oldMask);
  EXPECT_NE(ok, 0);
  EXPECT_EQ(Stat(dir / "new.ini").st_mode & 07777, 0640u);
}

// Root ignores permission bits, so cases about rights run fn in a child that has dropped to
// the unprivileged user "nobody", which every Debian system has (no user is made or left
// behind). The child's exit status, or 77 when no user could be taken.
const passwd* UnprivilegedUser() {
  return ::getpwnam("nobody");
}

std::string UnprivilegedUserName() {
  const passwd* user = UnprivilegedUser();
  return user != nullptr ? user->pw_name : "nobody";
}

int AsUnprivilegedUser(const std::function<bool()>& fn) {
  const bool root = ::geteuid() == 0;
  const passwd* user = root ? UnprivilegedUser() : nullptr;
  if (root && user == nullptr) return 77;
  const uid_t uid = root ? user->pw_uid : 0;
  const gid_t gid = root ? user->pw_gid : 0;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (root && (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
      ::_exit(77);
    }
    ::_exit(fn() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

#define EXPECT_AS_UNPRIVILEGED(fn)                                           \
  do {                                                                       \
    const int status = AsUnprivilegedUser(fn);                               \
    if (status == 77) GTEST_SKIP() << "cannot drop to an unprivileged user"; \
    EXPECT_EQ(status, 0);                                                    \
  } while (false)

// A file the user may write in a directory the user may not write to cannot be replaced by
// rename, so it is rewritten in place.
TEST(PosixProfile, FileInAnUnwritableDirectoryIsRewrittenInPlace) {
  TempDir dir;
  const std::string locked = dir / "locked";
  const std::string file = locked + "/p.ini";
  WriteFile(file, "[A]\r\nk=1\r\nz=99\r\n");
  ::chmod(file.c_str(), 0666);
  ::chmod(dir.path().c_str(), 0755);
  ::chmod(locked.c_str(), 0555);
  const ino_t oldInode = Stat(file).st_ino;

  const int status = AsUnprivilegedUser([&] {
    NativeProfileService service;
    // Longer, then shorter than before: the file must be extended and cut.
    return service.WriteString("A", "k", "22", file) != 0 &&
           service.WriteString("A", "z", "", file) != 0;
  });
  ::chmod(locked.c_str(), 0755);
  if (status == 77) GTEST_SKIP() << "cannot drop to an unprivileged user";
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile(file), "[A]\r\nk=22\r\nz=\r\n");
  EXPECT_EQ(Stat(file).st_ino, oldInode);
  EXPECT_EQ(FolderEntries(locked), Names{"p.ini"});
}

// Read-only means read-only: a file without any write bit is refused also for root, a file the
// user may not write is refused although its folder may be written, and a file that exists but
// cannot be read is a failure, not a missing file (the caller reports it).
TEST(PosixProfile, ReadOnlyAndUnreadableFilesAreRefused) {
  TempDir dir;
  ::chmod(dir.path().c_str(), 0777);
  // Only root can make a file that the test's user may not write: run as a user, the test
  // covers the other two.
  const bool root = ::geteuid() == 0;
  const Names names =
      root ? Names{"hidden.ini", "ro.ini", "theirs.ini"} : Names{"hidden.ini", "ro.ini"};
  const std::string before = "[A]\r\nk=1\r\n";
  for (const std::string& name : names)
    WriteFile(dir / name, before);
  ::chmod((dir / "ro.ini").c_str(), 0444);
  ::chmod((dir / "theirs.ini").c_str(), 0644);
  ::chmod((dir / "hidden.ini").c_str(), 0);
  NativeProfileService service;
  EXPECT_EQ(service.WriteString("A", "k", "2", dir / "ro.ini"), 0);
  EXPECT_EQ(service.WriteString("A", "new", "2", dir / "ro.ini"), 0);

  EXPECT_AS_UNPRIVILEGED([&] {
    NativeProfileService own;
    char buffer[8];
    bool threw = false;
    try {
      own.GetString("A", "k", "d", buffer, sizeof buffer, dir / "hidden.ini");
    } catch (const std::filesystem::filesystem_error&) {
      threw = true;
    }
    return threw && (!root || own.WriteString("A", "k", "2", dir / "theirs.ini") == 0) &&
           own.WriteString("A", "k", "2", dir / "hidden.ini") == 0;
  });
  EXPECT_EQ(Stat(dir / "ro.ini").st_mode & 07777, 0444u);
  ::chmod((dir / "hidden.ini").c_str(), 0600);  // to read it back
  for (const std::string& name : names)
    EXPECT_EQ(ReadFile(dir / name), before) << name;
  EXPECT_EQ(FolderEntries(dir.path()), names);
}

std::string Quoted(const std::string& s) {
  std::string q = "'";
  for (const char c : s)
    q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// LeakSanitizer cannot run under a tracer; the sanitizer build's writer runs without it.
const std::string kStrace = "ASAN_OPTIONS=detect_leaks=0 strace ";

// Every system call of one run of command, by name and number ("openat", 3), in order.
std::vector<std::pair<std::string, int>> SystemCallsOf(const std::string& command,
                                                       const std::string& trace) {
  EXPECT_EQ(std::system((kStrace + "-f -qq -o " + Quoted(trace) + " " + command).c_str()), 0);
  std::vector<std::pair<std::string, int>> calls;
  std::map<std::string, int> seen;
  std::istringstream lines(ReadFile(trace));
  const std::regex call(R"(^(?:\d+\s+)?([a-z0-9_]+)\()");
  std::smatch m;
  for (std::string line; std::getline(lines, line);) {
    if (std::regex_search(line, m, call) && m[1] != "exit_group") {
      calls.emplace_back(m[1], ++seen[m[1]]);
    }
  }
  return calls;
}

// The file after command was killed at the nth call of the named system call.
std::string KilledAt(const std::string& name, int nth, const std::string& command,
                     const std::string& file) {
  std::system((kStrace + "-f -qq -o /dev/null -e trace=" + name + " -e inject=" + name +
               ":signal=KILL:when=" + std::to_string(nth) + " " + command + " 2>/dev/null")
                  .c_str());
  return ReadFile(file);
}

// The writer is killed at each of its system calls in turn (strace injects SIGKILL there), on
// both paths: the replace by rename, and the in-place rewrite of a file in a folder the user
// may not write to. A kill leaves the old or the new content; only in place, when the content
// shrinks, a kill between writing and cutting leaves the new content followed by blanks, which
// reads as the new content. Nothing else is left in the folder but a temporary file that the
// next write replaces.
TEST(PosixProfileCrash, KilledAtEverySystemCallLeavesTheOldOrTheNewFile) {
  if (std::system("strace -V >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace is not installed";
  TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  const bool root = ::geteuid() == 0;
  // The unprivileged user may not reach the build tree (a clone in a 0700 home): it runs a
  // copy of the writer in the temporary folder.
  const std::string writerCopy = dir / "profile_crash_writer";
  std::filesystem::copy_file(MORLANE_PROFILE_CRASH_WRITER, writerCopy);
  if (root) {
    const int status = AsUnprivilegedUser([&] { return ::access(writerCopy.c_str(), X_OK) == 0; });
    if (status == 77) GTEST_SKIP() << "cannot drop to an unprivileged user";
    ASSERT_EQ(status, 0) << "user " << UnprivilegedUserName() << " cannot run " << writerCopy
                         << ": every folder above it must be open to others (chmod o+x), or "
                            "set TMPDIR to one that is";
  }
  const std::string old =
      "[Data]\r\nfirst=1\r\nk=old value\r\nlast=" + std::string(5000, 'z') + "\r\n";
  struct Case {
    bool inPlace;
    std::string value;
  };
  for (const Case& c : {Case{false, "new, longer value"}, Case{false, "n"},
                        Case{true, "new, longer value"}, Case{true, "n"}}) {
    SCOPED_TRACE((c.inPlace ? "in place, value " : "by rename, value ") + c.value);
    const std::string folder = dir / (c.inPlace ? "locked" : "open");
    const std::string file = folder + "/p.ini";
    WriteFile(file, old);
    ::chmod(file.c_str(), 0666);
    ::chmod(folder.c_str(), c.inPlace ? 0555 : 0777);
    std::string newer = old;
    newer.replace(newer.find("old value"), 9, c.value);
    const std::string padded =
        newer + std::string(old.size() - std::min(old.size(), newer.size()), ' ');
    const std::string user = root && c.inPlace ? "-u " + UnprivilegedUserName() + " " : "";
    const std::string writer =
        Quoted(writerCopy) + " once " + Quoted(file) + " k " + Quoted(c.value);
    const ino_t oldInode = Stat(file).st_ino;
    const auto calls = SystemCallsOf(user + writer, dir / "trace");
    ASSERT_EQ(ReadFile(file), newer);
    ASSERT_EQ(Stat(file).st_ino == oldInode, c.inPlace) << "not the path meant";
    ASSERT_GT(calls.size(), 10u);
    int tails = 0;
    for (const auto& [name, nth] : calls) {
      WriteFile(file, old);
      const std::string bytes = KilledAt(name, nth, user + writer, file);
      ASSERT_TRUE(bytes == old || bytes == newer || (c.inPlace && bytes == padded))
          << "killed at " << name << " #" << nth << ": " << bytes.size() << " bytes";
      if (bytes == padded && padded != newer) ++tails;
      for (const std::string& entry : FolderEntries(folder)) {
        if (entry != "p.ini") {
          ASSERT_EQ(entry, ".p.ini.new") << name << " #" << nth;
        }
      }
    }
    EXPECT_LE(tails, 1) << "only the kill between the write and the cut leaves blanks";
    WriteFile(file, old);
    EXPECT_EQ(std::system((kStrace + "-qq -o /dev/null " + user + writer).c_str()), 0);
    EXPECT_EQ(FolderEntries(folder), Names{"p.ini"});
    ::chmod(folder.c_str(), 0755);
  }
}

}  // namespace
}  // namespace morlane::platform
