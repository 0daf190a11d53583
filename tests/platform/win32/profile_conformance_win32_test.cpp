// The behaviour table run against Windows' own private-profile services.
#include "platform/conformance/profile_conformance.h"
#include "platform/profile.h"

namespace morlane::testing {

ProfileBackend ProfileBackendUnderTest() {
  return {"win32", [] { return std::make_unique<platform::NativeProfileService>(); }};
}

}  // namespace morlane::testing
