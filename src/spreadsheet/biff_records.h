// The BIFF records of .xls workbooks (BIFF5 and BIFF8) that the reader's
// own pass and the writer use: record identifiers, and little-endian
// reading of a record's body.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace velmora::spreadsheet::biff {

enum Record : std::uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kCodePage = 0x0042,
  kWindow1 = 0x003D,
  kContinue = 0x003C,
  kDateMode = 0x0022,
  kFont = 0x0031,
  kBoundSheet = 0x0085,
  kStyle = 0x0293,
  kMulRk = 0x00BD,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kExtSst = 0x00FF,
  kDimensions = 0x0200,
  kNumber = 0x0203,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kLabel = 0x0204,
  kRString = 0x00D6,
  kWindow2 = 0x023E,
  kRk = 0x027E,
  kFormat = 0x041E,
  kBof = 0x0809,
};

// The largest body of one record in BIFF8; longer data continues in
// CONTINUE records.
inline constexpr std::size_t kMaxRecordBody = 8224;

inline std::uint16_t U16At(std::string_view body, std::size_t at) {
  if (at + 2 > body.size()) return 0;
  return static_cast<std::uint16_t>(static_cast<unsigned char>(body[at]) |
                                    static_cast<unsigned char>(body[at + 1]) << 8);
}

inline std::uint32_t U32At(std::string_view body, std::size_t at) {
  return static_cast<std::uint32_t>(U16At(body, at)) |
         static_cast<std::uint32_t>(U16At(body, at + 2)) << 16;
}

inline double DoubleAt(std::string_view body, std::size_t at) {
  std::uint64_t bits = static_cast<std::uint64_t>(U32At(body, at)) |
                       static_cast<std::uint64_t>(U32At(body, at + 4)) << 32;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

// An RK number: a 30-bit integer or the high 30 bits of a double, maybe
// divided by 100.
inline double RkValue(std::uint32_t rk) {
  double value;
  if (rk & 2) {
    value = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return (rk & 1) ? value / 100 : value;
}

}  // namespace velmora::spreadsheet::biff
