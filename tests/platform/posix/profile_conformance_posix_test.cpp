// The behaviour table run against the program's engine.
#include "platform/conformance/profile_conformance.h"
#include "platform/profile.h"

namespace morlane::testing {

std::vector<ProfileBackend> ProfileBackendsUnderTest() {
  return {{"engine", [] { return std::make_unique<platform::NativeProfileService>(); }}};
}

}  // namespace morlane::testing
