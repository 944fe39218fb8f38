// Reading back what EmfCanvas wrote: little-endian words and the record list.
#pragma once

#include <cstdint>
#include <vector>

namespace wandrix::testing {

inline std::uint32_t u32_at(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint32_t>(b.at(at)) | static_cast<std::uint32_t>(b.at(at + 1)) << 8 |
         static_cast<std::uint32_t>(b.at(at + 2)) << 16 |
         static_cast<std::uint32_t>(b.at(at + 3)) << 24;
}

inline std::int32_t i32_at(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::int32_t>(u32_at(b, at));
}

// One record: its type and payload words (after type and size).
struct EmfRecord {
  std::uint32_t type = 0;
  std::vector<std::uint32_t> words;
  friend bool operator==(const EmfRecord&, const EmfRecord&) = default;
};

// Every record after the header, EOF included; stops at a malformed size.
inline std::vector<EmfRecord> emf_records(const std::vector<std::uint8_t>& b) {
  std::vector<EmfRecord> records;
  std::size_t at = u32_at(b, 4);
  while (at + 8 <= b.size()) {
    const std::uint32_t size = u32_at(b, at + 4);
    if (size < 8 || size % 4 != 0 || at + size > b.size()) {
      break;
    }
    EmfRecord r{u32_at(b, at), {}};
    for (std::size_t w = at + 8; w < at + size; w += 4) {
      r.words.push_back(u32_at(b, w));
    }
    records.push_back(r);
    at += size;
  }
  return records;
}

}  // namespace wandrix::testing
