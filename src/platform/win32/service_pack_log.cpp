// The machine's service-pack log. Kept apart from the other process services, as on POSIX,
// where the end-to-end tests link a log of their own.
#include "platform/process.h"

namespace morlane::platform {

std::string SystemProcessServices::ServicePackLogPath() const {
  return "C:\\HalvoServicePack.log";
}

}  // namespace morlane::platform
