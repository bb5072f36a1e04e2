// Text files as UTF-8: the one decoder every reader of files and pages uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The bytes as UTF-8 text, decided by content: UTF-8 with or without a
// byte-order mark; UTF-16 with a mark, or without one when its NUL bytes
// stand on one side of at least half of the pairs; else GBK. Nothing when
// the bytes are no text: a NUL byte elsewhere, UTF-16 that does not decode
// (an odd length, an unpaired surrogate, a NUL character), or bytes that
// neither UTF-8 nor GBK reads. GBK is decoded alike on every system: the
// single byte 0x80 and the user-defined areas are not text.
std::optional<std::string> DecodeText(std::string_view bytes);

// The bytes shown as far as they read, for a file that DecodeText refuses:
// never raw bytes.
std::string DecodeForShow(std::string_view bytes);

}  // namespace core
