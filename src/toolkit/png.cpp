#include "toolkit/png.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tk {

namespace {

constexpr std::array<int, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                             15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                             67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<int, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

constexpr int kWindow = 32768;
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 258;
constexpr int kHashBits = 15;
// Candidates tried per position: enough for pictures, which are mostly runs
// and repeated rows.
constexpr int kMaxChain = 16;

unsigned Reverse(unsigned code, int bits) {
  unsigned r = 0;
  for (int i = 0; i < bits; ++i) r |= ((code >> i) & 1u) << (bits - 1 - i);
  return r;
}

class BitWriter {
 public:
  explicit BitWriter(std::string& out) : out_(out) {}
  void Put(std::uint32_t bits, int count) {
    buffer_ |= static_cast<std::uint64_t>(bits) << filled_;
    filled_ += count;
    while (filled_ >= 8) {
      out_ += static_cast<char>(buffer_ & 0xFF);
      buffer_ >>= 8;
      filled_ -= 8;
    }
  }
  void Flush() {
    if (filled_ > 0) out_ += static_cast<char>(buffer_ & 0xFF);
    buffer_ = 0;
    filled_ = 0;
  }

 private:
  std::string& out_;
  std::uint64_t buffer_ = 0;
  int filled_ = 0;
};

// The fixed Huffman code of a literal/length symbol, bits already reversed
// as deflate sends them.
struct Code {
  std::uint32_t bits;
  int count;
};

Code FixedCode(int symbol) {
  if (symbol < 144) return {Reverse(0x30 + symbol, 8), 8};
  if (symbol < 256) return {Reverse(0x190 + symbol - 144, 9), 9};
  if (symbol < 280) return {Reverse(symbol - 256, 7), 7};
  return {Reverse(0xC0 + symbol - 280, 8), 8};
}

class Deflater {
 public:
  explicit Deflater(std::string& out) : bits_(out) {
    for (int s = 0; s < 288; ++s) codes_[s] = FixedCode(s);
    for (int i = 0; i < 29; ++i) {
      const int end = i + 1 < 29 ? kLengthBase[i + 1] : kMaxMatch + 1;
      for (int len = kLengthBase[i]; len < end; ++len) lengthCode_[len] = i;
    }
    lengthCode_[kMaxMatch] = 28;
  }

  // One final block with the fixed codes.
  void Compress(const std::vector<unsigned char>& data, int rowBytes) {
    bits_.Put(1, 1);  // final block
    bits_.Put(1, 2);  // fixed Huffman codes
    std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int32_t> prev(kWindow, -1);
    const int n = static_cast<int>(data.size());
    auto hash = [&](int p) {
      return ((data[p] << 10) ^ (data[p + 1] << 5) ^ data[p + 2]) & ((1 << kHashBits) - 1);
    };
    auto insert = [&](int p) {
      if (p + kMinMatch > n) return;
      const int h = hash(p);
      prev[p & (kWindow - 1)] = head[h];
      head[h] = p;
    };
    auto matchLength = [&](int p, int candidate) {
      const int limit = std::min(kMaxMatch, n - p);
      int len = 0;
      while (len < limit && data[candidate + len] == data[p + len]) ++len;
      return len;
    };
    int p = 0;
    while (p < n) {
      int bestLen = 0, bestDist = 0;
      if (p + kMinMatch <= n) {
        // The same bytes one row up, then the hash chain.
        if (p >= rowBytes && rowBytes <= kWindow) {
          const int len = matchLength(p, p - rowBytes);
          if (len >= kMinMatch) bestLen = len, bestDist = rowBytes;
        }
        int candidate = head[hash(p)];
        for (int tries = 0; candidate >= 0 && tries < kMaxChain && bestLen < kMaxMatch; ++tries) {
          if (p - candidate > kWindow) break;
          const int len = matchLength(p, candidate);
          if (len > bestLen) bestLen = len, bestDist = p - candidate;
          const int next = prev[candidate & (kWindow - 1)];
          if (next >= candidate) break;  // overwritten slot: the chain ends
          candidate = next;
        }
      }
      if (bestLen >= kMinMatch) {
        PutMatch(bestLen, bestDist);
        for (int i = 0; i < bestLen; ++i) insert(p + i);
        p += bestLen;
      } else {
        Put(data[p]);
        insert(p);
        ++p;
      }
    }
    Put(256);
    bits_.Flush();
  }

 private:
  void Put(int symbol) { bits_.Put(codes_[symbol].bits, codes_[symbol].count); }

  void PutMatch(int length, int distance) {
    const int li = lengthCode_[length];
    Put(257 + li);
    if (kLengthExtra[li] > 0) bits_.Put(length - kLengthBase[li], kLengthExtra[li]);
    int di = 29;
    while (kDistanceBase[di] > distance) --di;
    bits_.Put(Reverse(di, 5), 5);
    if (kDistanceExtra[di] > 0) bits_.Put(distance - kDistanceBase[di], kDistanceExtra[di]);
  }

  BitWriter bits_;
  std::array<Code, 288> codes_{};
  std::array<int, kMaxMatch + 1> lengthCode_{};
};

std::uint32_t Adler32(const std::vector<unsigned char>& data) {
  std::uint32_t a = 1, b = 0;
  std::size_t i = 0;
  while (i < data.size()) {
    // 5552 bytes is the most that cannot overflow before the modulo.
    const std::size_t end = std::min(data.size(), i + 5552);
    for (; i < end; ++i) {
      a += data[i];
      b += a;
    }
    a %= 65521;
    b %= 65521;
  }
  return b << 16 | a;
}

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
  static const std::array<std::uint32_t, 256> table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  std::uint32_t c = static_cast<std::uint32_t>(crc) ^ 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) c = table[(c ^ data[i]) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
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

  std::string zlib = "\x78\x01";
  Deflater(zlib).Compress(raw, rowBytes);
  PutBigEndian(zlib, Adler32(raw));

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
