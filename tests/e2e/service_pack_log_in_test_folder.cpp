// The end-to-end tests' build of the program: its service-pack log lies in the test's temporary
// folder (<tmp>/HalvoServicePack.log for the program in <tmp>/plant/Config), so a test reads
// what its own run wrote and the machine's log stays untouched.
#include "platform/process.h"

namespace morlane::platform {

std::string SystemProcessServices::ServicePackLogPath() const {
  std::string folder = ApplicationDirectory();
  for (int up = 0; up < 2; ++up) {
    const auto slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
  }
  return folder + "/HalvoServicePack.log";
}

}  // namespace morlane::platform
