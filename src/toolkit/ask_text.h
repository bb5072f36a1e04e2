// A small dialog that asks for one line of text (a name), built from a table
// like every window, so each backend shows it with its ordinary controls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "toolkit/toolkit.h"

namespace tk {

// The names of the dialog and its controls, for tests.
inline constexpr std::string_view kAskTextForm = "FormAskText";
inline constexpr std::string_view kAskTextEdit = "edtAskText";
inline constexpr std::string_view kAskTextOk = "btnAskOk";
inline constexpr std::string_view kAskTextCancel = "btnAskCancel";

// Shows `prompt` over an edit holding `initial`, with 确定 and 取消, modal
// over `owner`. The text as typed when 确定 is pressed; nothing when the user
// cancels (取消, Escape, the close box). The edit takes at most `maxLength`
// characters.
std::optional<std::string> AskText(Application& app, Form& owner, std::string_view title,
                                   std::string_view prompt, std::string_view initial,
                                   int maxLength = 100);

}  // namespace tk
