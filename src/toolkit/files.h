// What the common file operations share with each platform's own
// (files_posix.cpp, files_win32.cpp).
#pragma once

#include <filesystem>
#include <string>

namespace tk::files {

std::filesystem::path PathOf(const std::string& utf8);

// A name beside the target that no other file has yet, and that no other
// running copy of the program picks for the same target at the same moment.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);

// Of this process; written per platform.
unsigned long ProcessId();

}  // namespace tk::files
