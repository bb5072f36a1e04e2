#include "toolkit/driver.h"

#include "toolkit/text.h"

namespace tk {

void UserDriver::Type(Control& edit, std::string_view utf8) {
  for (std::string_view ch : Chars(utf8)) TypeChar(edit, DecodeChar(ch));
}

void Recorder::Attach(Application& app) {
  app.SetNoticeHook([this](std::string_view t) { notices.emplace_back(t); });
  app.SetErrorHook([this](std::string_view t) { errors.emplace_back(t); });
  app.SetLinkHook([this](std::string_view t) { links.emplace_back(t); });
}

void Recorder::Clear() {
  notices.clear();
  errors.clear();
  links.clear();
}

}  // namespace tk
