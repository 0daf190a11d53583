// Modal message boxes. Texts are Windows-1252 bytes; the implementation converts them where
// they meet the GUI and always shows them as plain text.
#pragma once

#include <string>

namespace morlane::platform {

enum class Buttons { Ok, YesNo };
enum class Icon { Critical, Warning, Information };
enum class Choice { Ok, Yes, No };

struct MessageRequest {
  std::string text;
  std::string title;  // empty: the application's title (the executable's base name)
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::Information;
  Choice defaultButton = Choice::Ok;
};

class DialogService {
 public:
  virtual ~DialogService() = default;
  // Shows the box and waits for the user's choice.
  virtual Choice ShowMessage(const MessageRequest& request) = 0;
};

}  // namespace morlane::platform
