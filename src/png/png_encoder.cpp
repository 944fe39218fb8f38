#include "png/png_encoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdlib>
#include <functional>
#include <limits>
#include <queue>
#include <string_view>
#include <utility>

// A small encoder of our own rather than a system library: the desktop, the
// command-line tool, the browser and the Windows builds then write the same
// bytes for the same picture, whatever library versions a machine has.
// Rows are filtered by the usual smallest-sum heuristic and compressed by
// greedy LZ77 over hash chains into deflate blocks with Huffman codes of
// their own.

namespace wandrix {
namespace {

constexpr std::array<std::uint32_t, 256> make_crc_table() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) {
      c = (c & 1u) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    table[n] = c;
  }
  return table;
}

constexpr auto kCrcTable = make_crc_table();

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc = 0) {
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) {
    crc = kCrcTable[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
  }
  return ~crc;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& data) {
  constexpr std::uint32_t kMod = 65521;
  // 5552 bytes is the longest run whose sums cannot overflow 32 bits.
  constexpr std::size_t kRun = 5552;
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (std::size_t start = 0; start < data.size(); start += kRun) {
    const std::size_t end = std::min(data.size(), start + kRun);
    for (std::size_t i = start; i < end; ++i) {
      a += data[i];
      b += a;
    }
    a %= kMod;
    b %= kMod;
  }
  return (b << 16) | a;
}

// Deflate's bit order: values least significant bit first, Huffman codes
// most significant bit first (so they are reversed before writing).
class BitWriter {
 public:
  explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void put(std::uint32_t value, int bits) {
    buffer_ |= static_cast<std::uint64_t>(value) << count_;
    count_ += bits;
    while (count_ >= 8) {
      out_.push_back(static_cast<std::uint8_t>(buffer_));
      buffer_ >>= 8;
      count_ -= 8;
    }
  }

  void put_code(std::uint32_t code, int bits) {
    std::uint32_t reversed = 0;
    for (int i = 0; i < bits; ++i) {
      reversed = (reversed << 1) | ((code >> i) & 1u);
    }
    put(reversed, bits);
  }

  void flush() {
    if (count_ > 0) {
      put(0, 8 - count_);
    }
  }

 private:
  std::vector<std::uint8_t>& out_;
  std::uint64_t buffer_ = 0;
  int count_ = 0;
};

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

// The last table entry whose base is at most value.
template <std::size_t N>
int code_index(const std::array<int, N>& bases, int value) {
  const auto it = std::upper_bound(bases.begin(), bases.end(), value);
  return static_cast<int>(it - bases.begin()) - 1;
}

// A literal byte (distance 0) or a match of length bytes distance back.
struct Token {
  std::uint16_t value = 0;
  std::uint16_t distance = 0;
};

// Greedy LZ77 over hash chains.
std::vector<Token> find_matches(const std::vector<std::uint8_t>& data) {
  constexpr int kWindow = 32768;
  constexpr int kMinMatch = 3;
  constexpr int kMaxMatch = 258;
  constexpr int kMaxChain = 64;
  constexpr int kHashBits = 15;
  const auto size = static_cast<std::ptrdiff_t>(data.size());

  std::vector<Token> tokens;
  tokens.reserve(data.size() / 16 + 16);
  std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
  std::vector<std::int32_t> previous(kWindow, -1);
  const auto hash = [&](std::ptrdiff_t i) {
    const std::uint32_t v = static_cast<std::uint32_t>(data[i]) << 16 |
                            static_cast<std::uint32_t>(data[i + 1]) << 8 | data[i + 2];
    return (v * 2654435761u) >> (32 - kHashBits);
  };
  const auto insert = [&](std::ptrdiff_t i) {
    if (i + kMinMatch <= size) {
      const std::uint32_t h = hash(i);
      previous[static_cast<std::size_t>(i % kWindow)] = head[h];
      head[h] = static_cast<std::int32_t>(i);
    }
  };

  std::ptrdiff_t i = 0;
  while (i < size) {
    int best_length = 0;
    int best_distance = 0;
    if (i + kMinMatch <= size) {
      const auto limit = static_cast<int>(std::min<std::ptrdiff_t>(kMaxMatch, size - i));
      std::int32_t candidate = head[hash(i)];
      for (int chain = 0; chain < kMaxChain && candidate >= 0 && i - candidate <= kWindow;
           ++chain) {
        const std::uint8_t* a = &data[static_cast<std::size_t>(candidate)];
        const std::uint8_t* b = &data[static_cast<std::size_t>(i)];
        int length = 0;
        while (length < limit && a[length] == b[length]) {
          ++length;
        }
        if (length > best_length) {
          best_length = length;
          best_distance = static_cast<int>(i - candidate);
          if (length == limit) {
            break;
          }
        }
        const std::int32_t next = previous[static_cast<std::size_t>(candidate % kWindow)];
        if (next >= candidate) {
          break;  // the slot was reused by a newer position: the chain ends
        }
        candidate = next;
      }
    }
    if (best_length >= kMinMatch) {
      tokens.push_back(
          {static_cast<std::uint16_t>(best_length), static_cast<std::uint16_t>(best_distance)});
      for (int k = 0; k < best_length; ++k) {
        insert(i + k);
      }
      i += best_length;
    } else {
      tokens.push_back({data[static_cast<std::size_t>(i)], 0});
      insert(i);
      ++i;
    }
  }
  return tokens;
}

// Code lengths of a Huffman code for the frequencies, none longer than
// max_bits. At least two symbols get a code, because inflaters refuse an
// incomplete code-length code. Ties are broken by node number, so the result
// is the same on every machine.
std::vector<int> code_lengths(std::vector<std::uint32_t> freq, int max_bits) {
  const std::size_t n = freq.size();
  int used = 0;
  for (std::size_t s = 0; s < n && used < 2; ++s) {
    used += freq[s] > 0 ? 1 : 0;
  }
  for (std::size_t s = 0; s < n && used < 2; ++s) {
    if (freq[s] == 0) {
      freq[s] = 1;
      ++used;
    }
  }
  std::vector<int> lengths(n, 0);
  for (;;) {
    // Nodes 0..n-1 are the symbols; merged nodes follow.
    std::vector<std::uint64_t> weight;
    std::vector<std::int32_t> parent;
    using Entry = std::pair<std::uint64_t, std::int32_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (std::size_t s = 0; s < n; ++s) {
      weight.push_back(freq[s]);
      parent.push_back(-1);
      if (freq[s] > 0) {
        queue.emplace(freq[s], static_cast<std::int32_t>(s));
      }
    }
    while (queue.size() > 1) {
      const auto [wa, a] = queue.top();
      queue.pop();
      const auto [wb, b] = queue.top();
      queue.pop();
      const auto node = static_cast<std::int32_t>(weight.size());
      weight.push_back(wa + wb);
      parent.push_back(-1);
      parent[static_cast<std::size_t>(a)] = node;
      parent[static_cast<std::size_t>(b)] = node;
      queue.emplace(wa + wb, node);
    }
    int longest = 0;
    for (std::size_t s = 0; s < n; ++s) {
      int depth = 0;
      if (freq[s] > 0) {
        for (std::int32_t p = parent[s]; p >= 0; p = parent[static_cast<std::size_t>(p)]) {
          ++depth;
        }
      }
      lengths[s] = depth;
      longest = std::max(longest, depth);
    }
    if (longest <= max_bits) {
      return lengths;
    }
    // Flatten the distribution and build again: a little longer output, but
    // simple, and it ends because equal weights give a balanced tree.
    for (std::uint32_t& f : freq) {
      f = f == 0 ? 0 : f / 2 + 1;
    }
  }
}

// The canonical codes of the lengths, as deflate defines them.
std::vector<std::uint32_t> canonical_codes(const std::vector<int>& lengths) {
  std::array<std::uint32_t, 16> count{};
  for (const int l : lengths) {
    ++count[static_cast<std::size_t>(l)];
  }
  count[0] = 0;
  std::array<std::uint32_t, 16> next{};
  std::uint32_t code = 0;
  for (std::size_t bits = 1; bits < 16; ++bits) {
    code = (code + count[bits - 1]) << 1;
    next[bits] = code;
  }
  std::vector<std::uint32_t> codes(lengths.size(), 0);
  for (std::size_t s = 0; s < lengths.size(); ++s) {
    if (lengths[s] > 0) {
      codes[s] = next[static_cast<std::size_t>(lengths[s])]++;
    }
  }
  return codes;
}

struct HuffmanCode {
  std::vector<int> lengths;
  std::vector<std::uint32_t> codes;
  HuffmanCode(const std::vector<std::uint32_t>& freq, int max_bits)
      : lengths(code_lengths(freq, max_bits)), codes(canonical_codes(lengths)) {}
  void put(BitWriter& bits, std::size_t symbol) const {
    bits.put_code(codes[symbol], lengths[symbol]);
  }
};

// One deflate block with codes made for its own tokens.
void put_block(BitWriter& bits, const Token* tokens, std::size_t count, bool final) {
  std::vector<std::uint32_t> literal_freq(286, 0);
  std::vector<std::uint32_t> distance_freq(30, 0);
  for (std::size_t t = 0; t < count; ++t) {
    if (tokens[t].distance == 0) {
      ++literal_freq[tokens[t].value];
    } else {
      ++literal_freq[257 + static_cast<std::size_t>(code_index(kLengthBase, tokens[t].value))];
      ++distance_freq[static_cast<std::size_t>(code_index(kDistanceBase, tokens[t].distance))];
    }
  }
  literal_freq[256] = 1;  // end of block
  const HuffmanCode literals(literal_freq, 15);
  const HuffmanCode distances(distance_freq, 15);

  // Both code-length lists, trimmed, run-length coded with symbols 16-18.
  std::size_t hlit = 286;
  while (hlit > 257 && literals.lengths[hlit - 1] == 0) {
    --hlit;
  }
  std::size_t hdist = 30;
  while (hdist > 1 && distances.lengths[hdist - 1] == 0) {
    --hdist;
  }
  std::vector<int> all(literals.lengths.begin(),
                       literals.lengths.begin() + static_cast<std::ptrdiff_t>(hlit));
  all.insert(all.end(), distances.lengths.begin(),
             distances.lengths.begin() + static_cast<std::ptrdiff_t>(hdist));
  struct Run {
    int symbol;
    int extra;
  };
  std::vector<Run> runs;
  for (std::size_t i = 0; i < all.size();) {
    std::size_t same = 1;
    while (i + same < all.size() && all[i + same] == all[i]) {
      ++same;
    }
    if (all[i] == 0 && same >= 3) {
      const std::size_t take = std::min<std::size_t>(same, 138);
      runs.push_back(take >= 11 ? Run{18, static_cast<int>(take - 11)}
                                : Run{17, static_cast<int>(take - 3)});
      i += take;
    } else if (all[i] != 0 && same >= 4) {
      runs.push_back({all[i], 0});
      const std::size_t take = std::min<std::size_t>(same - 1, 6);
      runs.push_back({16, static_cast<int>(take - 3)});
      i += 1 + take;
    } else {
      runs.push_back({all[i], 0});
      ++i;
    }
  }
  std::vector<std::uint32_t> length_freq(19, 0);
  for (const Run& r : runs) {
    ++length_freq[static_cast<std::size_t>(r.symbol)];
  }
  const HuffmanCode length_code(length_freq, 7);
  constexpr std::array<std::size_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                  11, 4,  12, 3, 13, 2, 14, 1, 15};
  std::size_t hclen = 19;
  while (hclen > 4 && length_code.lengths[kOrder[hclen - 1]] == 0) {
    --hclen;
  }

  bits.put(final ? 1 : 0, 1);
  bits.put(2, 2);  // dynamic Huffman codes
  bits.put(static_cast<std::uint32_t>(hlit - 257), 5);
  bits.put(static_cast<std::uint32_t>(hdist - 1), 5);
  bits.put(static_cast<std::uint32_t>(hclen - 4), 4);
  for (std::size_t k = 0; k < hclen; ++k) {
    bits.put(static_cast<std::uint32_t>(length_code.lengths[kOrder[k]]), 3);
  }
  constexpr std::array<int, 3> kRunExtraBits = {2, 3, 7};
  for (const Run& r : runs) {
    length_code.put(bits, static_cast<std::size_t>(r.symbol));
    if (r.symbol >= 16) {
      bits.put(static_cast<std::uint32_t>(r.extra),
               kRunExtraBits[static_cast<std::size_t>(r.symbol - 16)]);
    }
  }

  for (std::size_t t = 0; t < count; ++t) {
    const Token& token = tokens[t];
    if (token.distance == 0) {
      literals.put(bits, token.value);
      continue;
    }
    const int l = code_index(kLengthBase, token.value);
    literals.put(bits, 257 + static_cast<std::size_t>(l));
    bits.put(static_cast<std::uint32_t>(token.value - kLengthBase[static_cast<std::size_t>(l)]),
             kLengthExtra[static_cast<std::size_t>(l)]);
    const int d = code_index(kDistanceBase, token.distance);
    distances.put(bits, static_cast<std::size_t>(d));
    bits.put(
        static_cast<std::uint32_t>(token.distance - kDistanceBase[static_cast<std::size_t>(d)]),
        kDistanceExtra[static_cast<std::size_t>(d)]);
  }
  literals.put(bits, 256);
}

// A zlib stream of data: deflate blocks of at most 64 Ki tokens, each with
// its own codes, so that the codes follow the picture's changing content.
std::vector<std::uint8_t> zlib_compress(const std::vector<std::uint8_t>& data) {
  constexpr std::size_t kBlockTokens = std::size_t{1} << 16;
  const std::vector<Token> tokens = find_matches(data);
  std::vector<std::uint8_t> out = {0x78, 0x01};  // deflate, 32 KiB window, no dictionary
  out.reserve(tokens.size() + 64);
  BitWriter bits(out);
  std::size_t at = 0;
  do {
    const std::size_t count = std::min(kBlockTokens, tokens.size() - at);
    put_block(bits, tokens.data() + at, count, at + count == tokens.size());
    at += count;
  } while (at < tokens.size());
  bits.flush();
  const std::uint32_t check = adler32(data);
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(check >> shift));
  }
  return out;
}

std::uint8_t paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a);
  const int pb = std::abs(p - b);
  const int pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) {
    return static_cast<std::uint8_t>(a);
  }
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Each row with the filter whose output has the smallest sum of absolute
// values (bytes taken as signed), preceded by the filter's type byte.
std::vector<std::uint8_t> filter_rows(const std::vector<std::uint8_t>& rgb, std::size_t stride,
                                      std::size_t rows) {
  constexpr std::size_t kBpp = 3;
  std::vector<std::uint8_t> out;
  out.reserve((stride + 1) * rows);
  const std::vector<std::uint8_t> zero_row(stride, 0);
  std::array<std::vector<std::uint8_t>, 5> candidates;
  for (auto& c : candidates) {
    c.resize(stride);
  }
  for (std::size_t y = 0; y < rows; ++y) {
    const std::uint8_t* row = &rgb[y * stride];
    const std::uint8_t* up = y == 0 ? zero_row.data() : &rgb[(y - 1) * stride];
    std::array<std::uint64_t, 5> cost{};
    for (std::size_t x = 0; x < stride; ++x) {
      const int a = x >= kBpp ? row[x - kBpp] : 0;
      const int b = up[x];
      const int c = x >= kBpp ? up[x - kBpp] : 0;
      const std::array<std::uint8_t, 5> predicted = {
          0, static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
          static_cast<std::uint8_t>((a + b) / 2), paeth(a, b, c)};
      for (std::size_t f = 0; f < 5; ++f) {
        const auto v = static_cast<std::uint8_t>(row[x] - predicted[f]);
        candidates[f][x] = v;
        cost[f] += v < 128 ? v : 256u - v;
      }
    }
    const auto best =
        static_cast<std::size_t>(std::min_element(cost.begin(), cost.end()) - cost.begin());
    out.push_back(static_cast<std::uint8_t>(best));
    out.insert(out.end(), candidates[best].begin(), candidates[best].end());
  }
  return out;
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    out.push_back(static_cast<std::uint8_t>(v >> shift));
  }
}

void put_chunk(std::vector<std::uint8_t>& out, std::string_view type, const std::uint8_t* data,
               std::size_t size) {
  put_u32(out, static_cast<std::uint32_t>(size));
  const std::size_t type_at = out.size();
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data, data + size);
  put_u32(out, crc32(&out[type_at], size + 4));
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encode_png(const std::uint32_t* pixels, int width,
                                                    int height) {
  // The PNG format allows up to 2^31 - 1 per side; memory sets the real limit.
  constexpr std::size_t kMaxBytes = std::numeric_limits<std::size_t>::max() / 8;
  if (pixels == nullptr || width <= 0 || height <= 0 ||
      static_cast<std::size_t>(width) * 3 > kMaxBytes / static_cast<std::size_t>(height)) {
    return std::nullopt;
  }
  const auto w = static_cast<std::size_t>(width);
  const auto h = static_cast<std::size_t>(height);
  std::vector<std::uint8_t> rgb(w * h * 3);
  for (std::size_t i = 0; i < w * h; ++i) {
    rgb[3 * i] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[3 * i + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[3 * i + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  const std::vector<std::uint8_t> compressed = zlib_compress(filter_rows(rgb, w * 3, h));

  std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  put_u32(header, static_cast<std::uint32_t>(width));
  put_u32(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(),
                {8, 2, 0, 0, 0});  // 8-bit RGB, deflate, adaptive filters, no interlace
  put_chunk(png, "IHDR", header.data(), header.size());
  // Chunks of at most 1 MiB keep every length far below the format's 2^31.
  constexpr std::size_t kChunk = std::size_t{1} << 20;
  for (std::size_t at = 0; at < compressed.size(); at += kChunk) {
    put_chunk(png, "IDAT", &compressed[at], std::min(kChunk, compressed.size() - at));
  }
  put_chunk(png, "IEND", nullptr, 0);
  return png;
}

}  // namespace wandrix
