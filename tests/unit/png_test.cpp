#include "toolkit/png.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

#ifndef _WIN32
// The output of a shell command; ok false when it failed.
std::string Shell(const std::string& command, bool& ok) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  ok = p != nullptr;
  if (!p) return out;
  char buf[65536];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  ok = pclose(p) == 0;
  return out;
}

// Flat areas, gradients, repeated rows and noise: every kind of match and
// literal the compressor makes.
std::vector<unsigned char> Picture(int w, int h, int channels) {
  std::vector<unsigned char> px(static_cast<std::size_t>(w) * h * channels);
  std::mt19937 rng(7);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      unsigned char* p = &px[(static_cast<std::size_t>(y) * w + x) * channels];
      for (int c = 0; c < channels; ++c) {
        if (y < h / 3)
          p[c] = 200;
        else if (y < 2 * h / 3)
          p[c] = static_cast<unsigned char>(x * 3 + c * 40 + (y % 4));
        else
          p[c] = static_cast<unsigned char>(rng());
      }
      if (channels == 4) p[3] = 255;  // opaque: viewers show it as it is
    }
  }
  return px;
}

class PngFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("qelmar-png-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
              "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"))
                .string();
  }
  void TearDown() override { std::filesystem::remove(path_); }
  void Write(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::string path_;
};

TEST_F(PngFile, ImageMagickReadsTheSizeAndEveryPixel) {
  for (int channels : {3, 4}) {
    const int w = 301, h = 97;
    const auto px = Picture(w, h, channels);
    const auto layout = channels == 3 ? tk::PixelLayout::kRgb : tk::PixelLayout::kRgba;
    Write(tk::EncodePng(px.data(), w, h, static_cast<std::size_t>(w) * channels, layout));
    bool ok = false;
    EXPECT_EQ(Shell("identify -format '%w %h' '" + path_ + "'", ok), "301 97");
    ASSERT_TRUE(ok);
    const std::string raw =
        Shell(std::string("convert '") + path_ + "' " + (channels == 3 ? "rgb:-" : "rgba:-"), ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(raw == std::string(px.begin(), px.end())) << "channels " << channels;
  }
}

TEST_F(PngFile, BgrxRowsWithPaddingAreWrittenAsRgb) {
  const int w = 5, h = 3, stride = w * 4 + 12;
  std::vector<unsigned char> px(static_cast<std::size_t>(stride) * h, 0xEE);
  std::string want;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      unsigned char* p =
          &px[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 4];
      p[0] = static_cast<unsigned char>(x), p[1] = static_cast<unsigned char>(y), p[2] = 0x80;
      want += {'\x80', static_cast<char>(y), static_cast<char>(x)};
    }
  Write(tk::EncodePng(px.data(), w, h, stride, tk::PixelLayout::kBgrx));
  bool ok = false;
  EXPECT_EQ(Shell("convert '" + path_ + "' rgb:-", ok), want);
  EXPECT_TRUE(ok);
}
#endif

TEST(Png, FlatPicturesAreSmallAndBadSizesGiveNothing) {
  const int w = 800, h = 2000;
  std::vector<unsigned char> white(static_cast<std::size_t>(w) * h * 3, 0xFF);
  const std::string png =
      tk::EncodePng(white.data(), w, h, std::size_t{w} * 3, tk::PixelLayout::kRgb);
  EXPECT_TRUE(png.starts_with("\x89PNG\r\n\x1A\n"));
  EXPECT_LT(png.size(), white.size() / 50);  // runs of 258 bytes, the most deflate codes
  EXPECT_EQ(tk::EncodePng(white.data(), 0, 10, 0, tk::PixelLayout::kRgb), "");
  EXPECT_EQ(tk::EncodePng(white.data(), 1 << 15, 1 << 15, 0, tk::PixelLayout::kRgb), "");
}

TEST(Png, Crc32OfTheCheckString) {
  const std::string s = "123456789";
  EXPECT_EQ(tk::Crc32(reinterpret_cast<const unsigned char*>(s.data()), s.size()), 0xCBF43926ul);
}

}  // namespace
