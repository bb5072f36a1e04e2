#include "toolkit/png.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace tk {

namespace {

void PutBigEndian(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16 & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
  out += static_cast<char>(v & 0xFF);
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
  PutBigEndian(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = png.size();
  png.append(type, 4);
  png += data;
  const auto* bytes = reinterpret_cast<const unsigned char*>(png.data() + start);
  PutBigEndian(png, static_cast<std::uint32_t>(Crc32(bytes, png.size() - start)));
}

}  // namespace

unsigned long Crc32(const unsigned char* data, std::size_t size, unsigned long crc) {
  // zlib takes lengths as uInt: long buffers go in pieces.
  while (size > 0) {
    const auto piece = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    crc = crc32(crc, data, piece);
    data += piece;
    size -= piece;
  }
  return crc;
}

std::string EncodePng(const unsigned char* pixels, int width, int height, std::size_t stride,
                      PixelLayout layout) {
  if (width <= 0 || height <= 0 || pixels == nullptr) return {};
  if (static_cast<std::size_t>(width) * static_cast<std::size_t>(height) > kMaxPngPixels) return {};
  const bool alpha = layout == PixelLayout::kRgba;
  const int inBytes = layout == PixelLayout::kRgb ? 3 : 4;
  const int outBytes = alpha ? 4 : 3;
  const int rowBytes = 1 + width * outBytes;

  // Each row after its filter byte, 0: no filter.
  std::vector<unsigned char> raw(static_cast<std::size_t>(rowBytes) * height);
  unsigned char* to = raw.data();
  for (int y = 0; y < height; ++y) {
    const unsigned char* from = pixels + stride * static_cast<std::size_t>(y);
    *to++ = 0;
    for (int x = 0; x < width; ++x, from += inBytes) {
      if (layout == PixelLayout::kBgrx) {
        *to++ = from[2], *to++ = from[1], *to++ = from[0];
      } else {
        for (int i = 0; i < outBytes; ++i) *to++ = from[i];
      }
    }
  }

  uLongf packed = compressBound(static_cast<uLong>(raw.size()));
  std::string zlib(packed, '\0');
  if (compress2(reinterpret_cast<Bytef*>(zlib.data()), &packed, raw.data(),
                static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) != Z_OK) {
    return {};
  }
  zlib.resize(packed);

  std::string header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header += '\x08';                   // bits per channel
  header += alpha ? '\x06' : '\x02';  // RGBA or RGB
  header += std::string(3, '\0');     // deflate, adaptive filters, no interlace

  std::string png = "\x89PNG\r\n\x1A\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", zlib);
  PutChunk(png, "IEND", {});
  return png;
}

}  // namespace tk
