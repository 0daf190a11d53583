// The behaviour table run against the POSIX emulation.
#include "platform/conformance/profile_conformance.h"
#include "platform/posix/profile_posix.h"

namespace morlane::testing {

ProfileBackend ProfileBackendUnderTest() {
  return {"posix", [] { return std::make_unique<platform::posix::PosixProfileService>(); }};
}

}  // namespace morlane::testing
