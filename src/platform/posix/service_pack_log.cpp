// The machine's service-pack log. Kept apart from the other process services so that the
// program the end-to-end tests run can link a log of its own in its temporary folder
// (tests/e2e), while the shipped program has no way to be pointed elsewhere.
#include "platform/process.h"

namespace morlane::platform {

std::string SystemProcessServices::ServicePackLogPath() const {
  return "/var/log/HalvoServicePack.log";
}

}  // namespace morlane::platform
