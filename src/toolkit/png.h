// PNG files from pixel buffers, compressed by zlib: every backend saves its
// pictures (the trend chart) the same way.
#pragma once

#include <cstddef>
#include <string>

namespace tk {

// How the bytes of one pixel are laid out in the buffer.
enum class PixelLayout {
  kRgb,   // R G B
  kRgba,  // R G B A
  kBgrx,  // B G R and an unused byte: Win32 DIBs, QImage::Format_RGB32
};

// The largest picture EncodePng writes.
inline constexpr std::size_t kMaxPngPixels = std::size_t{1} << 26;

// The bytes of a PNG file of a width × height picture whose rows, top to
// bottom, start `stride` bytes apart. kRgb and kBgrx are written as RGB,
// kRgba as RGBA. Empty when the size is not positive, the picture is larger
// than kMaxPngPixels or zlib cannot compress it.
std::string EncodePng(const unsigned char* pixels, int width, int height, std::size_t stride,
                      PixelLayout layout);

// The CRC-32 of PNG chunks (zlib's); `crc` continues an earlier one.
unsigned long Crc32(const unsigned char* data, std::size_t size, unsigned long crc = 0);

}  // namespace tk
