#include "toolkit/testing/driver.h"

#include <algorithm>

#include "core/text.h"
#include "toolkit/ask_text.h"

namespace tk {

namespace {

// Dialogs open now, outermost first, in every application a recorder is
// attached to.
std::vector<Form*>& OpenDialogs() {
  static std::vector<Form*> open;
  return open;
}

}  // namespace

void UserDriver::Type(Control& edit, std::string_view utf8) {
  for (std::string_view ch : core::Chars(utf8)) TypeChar(edit, core::DecodeChar(ch));
}

void Recorder::Attach(Application& app) {
  app.SetNoticeHook([this](std::string_view t) { notices.emplace_back(t); });
  app.SetErrorHook([this](std::string_view t) { errors.emplace_back(t); });
  app.SetLinkHook([this](std::string_view t) { links.emplace_back(t); });
  app.SetDialogHook([this](const FileRequest& r) {
    dialogs.push_back(r);
    if (dialogAnswers.empty()) return std::string();
    std::string path = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return path;
  });
  app.SetQuestionHook([this](std::string_view q) {
    questions.emplace_back(q);
    if (answers.empty()) return false;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
  });
  app.SetModalHook([](Form& dialog, bool shown) {
    std::vector<Form*>& open = OpenDialogs();
    if (shown) {
      open.push_back(&dialog);
    } else {
      open.erase(std::remove(open.begin(), open.end(), &dialog), open.end());
    }
  });
}

void Recorder::Clear() {
  notices.clear();
  errors.clear();
  links.clear();
  dialogAnswers.clear();
  dialogs.clear();
  answers.clear();
  questions.clear();
}

Form* ShownTextDialog() {
  const std::vector<Form*>& open = OpenDialogs();
  const auto it = std::find_if(open.rbegin(), open.rend(),
                               [](const Form* f) { return f->Def().name == kAskTextForm; });
  return it == open.rend() ? nullptr : *it;
}

}  // namespace tk
