// The behaviour table run against Windows' own private-profile services.
#include "platform/conformance/profile_conformance.h"
#include "platform/win32/profile_win32.h"

namespace morlane::testing {

ProfileBackend ProfileBackendUnderTest() {
  return {"win32", [] { return std::make_unique<platform::win32::Win32ProfileService>(); }};
}

}  // namespace morlane::testing
