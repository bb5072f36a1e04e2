// A fresh, empty folder for one test, removed with everything in it at the end.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace testsupport {

class TempFolder {
 public:
  TempFolder() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
      path_ = std::filesystem::temp_directory_path() /
              ("qelmar-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
      if (std::filesystem::create_directory(path_)) break;
    }
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  // The folder as a program folder: ending in a separator.
  std::string Slashed() const { return (path_ / "").string(); }

  // Names are UTF-8 on every system.
  std::filesystem::path At(const std::string& name) const {
    return path_ / std::filesystem::path(std::u8string(name.begin(), name.end()));
  }
  // A file's path as the program takes it: UTF-8.
  std::string PathOf(const std::string& name) const {
    const std::u8string u8 = At(name).u8string();
    return {u8.begin(), u8.end()};
  }

  std::string Read(const std::string& name) const {
    std::ifstream in(At(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(At(name), std::ios::binary) << bytes;
  }
  bool Has(const std::string& name) const { return std::filesystem::is_regular_file(At(name)); }

 private:
  std::filesystem::path path_;
};

}  // namespace testsupport
