// The behaviour table run against the POSIX emulation.
#include "platform/conformance/profile_conformance.h"
#include "platform/profile.h"

namespace morlane::testing {

ProfileBackend ProfileBackendUnderTest() {
  return {"posix", [] { return std::make_unique<platform::NativeProfileService>(); }};
}

}  // namespace morlane::testing
