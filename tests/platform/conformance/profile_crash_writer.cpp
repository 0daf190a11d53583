// Child of the crash-safety and lock tests, built for each system.
//   profile_crash_writer <path> <sizeA> <sizeB>   writes two large values in turn into one file
//     until it is killed; says "ready" on stdout first, so that the kill moments are not all
//     spent starting up. Exits 1 as soon as a write fails.
//   profile_crash_writer once <path> <key> <value>   writes one value into section "Data";
//     exits 0 when it was written.
//   profile_crash_writer keys <path> <prefix> <count>   writes the keys <prefix>1..<count>
//     into section "Data", one write each; exits 0 when all were written.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/profile.h"

int main(int argc, char** argv) {
  morlane::platform::NativeProfileService service;
  if (argc == 5 && std::strcmp(argv[1], "once") == 0) {
    return service.WriteString("Data", argv[3], argv[4], argv[2]) != 0 ? 0 : 1;
  }
  if (argc == 5 && std::strcmp(argv[1], "keys") == 0) {
    const std::string prefix = argv[3];
    for (unsigned long i = 1; i <= std::stoul(argv[4]); ++i) {
      const std::string key = prefix + std::to_string(i);
      if (service.WriteString("Data", key, key, argv[2]) == 0) return 1;
    }
    return 0;
  }
  if (argc != 4) return 2;
  const std::string values[2] = {std::string(std::stoul(argv[2]), 'a'),
                                 std::string(std::stoul(argv[3]), 'b')};
  if (std::fputs("r", stdout) < 0 || std::fflush(stdout) != 0) return 3;
  for (unsigned i = 0;; ++i) {
    if (service.WriteString("Data", "blob", values[i % 2], argv[1]) == 0) return 1;
  }
}
