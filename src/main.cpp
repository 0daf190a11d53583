// Wires the POSIX backends, reads the start mode and ends; the window comes later.
#include <cstdio>

#include "platform/posix/process_posix.h"
#include "runctx/command.h"
#include "runctx/session.h"

namespace {

class ConsoleDialogs : public morlane::platform::DialogService {
 public:
  morlane::platform::Choice ShowMessage(const morlane::platform::MessageRequest& r) override {
    std::fprintf(stderr, "%s\n", r.text.c_str());
    return r.defaultButton;
  }
};

class NoProfile : public morlane::platform::ProfileService {
 public:
  std::uint32_t GetString(std::string_view, std::string_view, std::string_view, char* b,
                          std::uint32_t n, const std::string&) override {
    if (n > 0) b[0] = '\0';
    return 0;
  }
  std::uint32_t GetInt(std::string_view, std::string_view, std::int32_t d,
                       const std::string&) override {
    return static_cast<std::uint32_t>(d);
  }
  int WriteString(std::string_view, std::string_view, std::string_view,
                  const std::string&) override {
    return 0;
  }
};

}  // namespace

int main(int argc, char** argv) {
  morlane::platform::posix::PosixProcessServices process(argc, argv);
  ConsoleDialogs dialogs;
  NoProfile profile;
  morlane::Session session(process, dialogs, profile);
  const bool integrated = morlane::GetStartModeIntegrated(session);
  std::printf("%s\n", integrated          ? "integrated"
                      : session.SilentMode ? "silent"
                                           : "standalone");
  return 0;
}
