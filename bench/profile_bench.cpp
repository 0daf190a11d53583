// The private-profile service against the plain file work it cannot avoid: reading one value
// against reading the file's bytes, replacing one value against writing the bytes to a new
// file and renaming it over the old one (with and without the fsyncs a crash-safe replace
// needs). Files of 1 KiB, 64 KiB and 1 MiB, the value near the end.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/profile.h"

#if __has_include("config/ini.h")
#include "config/ini.h"
#include "platform/process.h"
#include "runctx/session.h"
#define MORLANE_BENCH_INI 1
#endif

namespace {

using morlane::platform::NativeProfileService;
using morlane::platform::ProfileOptions;

// Sections of ten keys until the size is reached; the value read and written is a key in the
// middle of the last section.
struct BenchFile {
  std::string path;
  std::string bytes;
  std::string section;
};

class Scratch {
 public:
  Scratch() {
    std::string pattern = (std::filesystem::current_path() / "profile-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
  }
  ~Scratch() { std::filesystem::remove_all(dir_); }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

Scratch& ScratchDir() {
  static Scratch scratch;
  return scratch;
}

const std::string kValues[2] = {"first value of the key", "other value of the key"};

BenchFile MakeFile(std::size_t size) {
  BenchFile file;
  file.path = ScratchDir().dir() + "/bench-" + std::to_string(size) + ".ini";
  char line[96];
  for (int s = 0; file.bytes.size() < size; ++s) {
    file.section = "Section" + std::to_string(s);
    file.bytes += "[" + file.section + "]\r\n";
    for (int k = 0; k < 10; ++k) {
      const int n = std::snprintf(line, sizeof line, "Key%02d=%s\r\n", k,
                                  k == 5 ? kValues[0].c_str() : "some value of a typical length");
      file.bytes.append(line, static_cast<std::size_t>(n));
    }
  }
  std::ofstream(file.path, std::ios::binary) << file.bytes;
  return file;
}

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  ::fsync(fd);
  ::close(fd);
}

void SetBytes(benchmark::State& state, const BenchFile& file) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes.size()));
  state.counters["file_bytes"] = static_cast<double>(file.bytes.size());
}

// open, read everything, close, and one memchr pass over the bytes.
void BM_ReadBytes(benchmark::State& state) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    const int fd = ::open(file.path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    ::fstat(fd, &st);
    std::unique_ptr<char[]> buffer(new char[static_cast<std::size_t>(st.st_size) + 1]);
    const ssize_t n = ::read(fd, buffer.get(), static_cast<std::size_t>(st.st_size) + 1);
    ::close(fd);
    benchmark::DoNotOptimize(std::memchr(buffer.get(), '\0', static_cast<std::size_t>(n)));
  }
  SetBytes(state, file);
}

void BM_ServiceRead(benchmark::State& state) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  NativeProfileService service;
  char buffer[255];
  for (auto _ : state) {
    if (service.GetString(file.section, "Key05", "", buffer, sizeof buffer, file.path) !=
        kValues[0].size()) {
      state.SkipWithError("wrong value");
    }
  }
  SetBytes(state, file);
}

// Write the same bytes to a new file and rename it over the old one.
void WriteBytes(benchmark::State& state, bool sync) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  const std::string temp = file.path + ".tmp";
  for (auto _ : state) {
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (::write(fd, file.bytes.data(), file.bytes.size()) !=
        static_cast<ssize_t>(file.bytes.size())) {
      state.SkipWithError("short write");
    }
    if (sync) ::fsync(fd);
    ::close(fd);
    ::rename(temp.c_str(), file.path.c_str());
    if (sync) SyncDirectory(ScratchDir().dir());
  }
  SetBytes(state, file);
}
void BM_WriteBytesRename(benchmark::State& state) {
  WriteBytes(state, false);
}
void BM_WriteBytesRenameFsync(benchmark::State& state) {
  WriteBytes(state, true);
}

// Replace the value, alternating between two of the same length, so that every call writes.
void ServiceWrite(benchmark::State& state, bool sync) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  NativeProfileService service(ProfileOptions{sync});
  unsigned i = 0;
  for (auto _ : state) {
    if (service.WriteString(file.section, "Key05", kValues[++i % 2], file.path) == 0) {
      state.SkipWithError("write failed");
    }
  }
  SetBytes(state, file);
}
void BM_ServiceWrite(benchmark::State& state) {
  ServiceWrite(state, false);
}
void BM_ServiceWriteFsync(benchmark::State& state) {
  ServiceWrite(state, true);
}

#ifdef MORLANE_BENCH_INI
class NoDialogs : public morlane::platform::DialogService {
 public:
  morlane::platform::Choice ShowMessage(const morlane::platform::MessageRequest& r) override {
    return r.defaultButton;
  }
};

struct IniSession {
  char arg0[16] = "profile_bench";
  char* argv[2] = {arg0, nullptr};
  morlane::platform::SystemProcessServices process{1, argv};
  NoDialogs dialogs;
  NativeProfileService profile;
  morlane::Session session{process, dialogs, profile};
};

void BM_LoadIniString(benchmark::State& state) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  IniSession ini;
  for (auto _ : state) {
    if (morlane::LoadIniString(ini.session, file.section, "Key05", file.path).size() !=
        kValues[0].size()) {
      state.SkipWithError("wrong value");
    }
  }
  SetBytes(state, file);
}

void BM_SaveIniFsync(benchmark::State& state) {
  const BenchFile file = MakeFile(static_cast<std::size_t>(state.range(0)));
  IniSession ini;
  unsigned i = 0;
  for (auto _ : state) {
    if (morlane::SaveIni(ini.session, kValues[++i % 2], file.section, "Key05", file.path) ==
        morlane::SaveResult::Failed) {
      state.SkipWithError("write failed");
    }
  }
  SetBytes(state, file);
}
#endif

#define SIZES ->Arg(1 << 10)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMicrosecond)
BENCHMARK(BM_ReadBytes) SIZES;
BENCHMARK(BM_ServiceRead) SIZES;
BENCHMARK(BM_WriteBytesRename) SIZES;
BENCHMARK(BM_ServiceWrite) SIZES;
BENCHMARK(BM_WriteBytesRenameFsync) SIZES;
BENCHMARK(BM_ServiceWriteFsync) SIZES;
#ifdef MORLANE_BENCH_INI
BENCHMARK(BM_LoadIniString) SIZES;
BENCHMARK(BM_SaveIniFsync) SIZES;
#endif

}  // namespace

BENCHMARK_MAIN();
