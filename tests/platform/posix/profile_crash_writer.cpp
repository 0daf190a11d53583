// Child of the crash-safety test: writes two large values in turn into one file until it is
// killed. Says "ready" on stdout first, so that the kill moments are not all spent starting up.
// Exits 1 as soon as a write fails.
#include <unistd.h>

#include <string>

#include "platform/profile.h"

int main(int argc, char** argv) {
  if (argc != 4) return 2;
  const std::string values[2] = {std::string(std::stoul(argv[2]), 'a'),
                                 std::string(std::stoul(argv[3]), 'b')};
  morlane::platform::NativeProfileService service;
  if (::write(1, "r", 1) != 1) return 3;
  for (unsigned i = 0;; ++i) {
    if (service.WriteString("Data", "blob", values[i % 2], argv[1]) == 0) return 1;
  }
}
