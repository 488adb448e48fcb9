// Fuzzes the value decoders on one property line: the input becomes the one
// property of a 2.1 item and of a 3.0 item, and every decoder runs on it
// with each of its switches. The decoders must stay inside the value and
// keep their documented shapes (padded component lists, date 0 when not
// valid, no bytes on failure).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/log.h"
#include "vcard/card_doc.h"

namespace {

using velmora::vcard::CCardDoc;
using velmora::vcard::CCardDocItemProp;
using velmora::vcard::LoadResult;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

void DecodeAllWays(const CCardDocItemProp& prop) {
  std::u16string text;
  for (const bool semicolons : {false, true}) {
    for (const bool commas : {false, true}) {
      prop.GetDecodedValue(text, semicolons, commas);
    }
  }
  std::vector<std::u16string> parts;
  for (const int min_count : {0, 1, 7}) {
    for (const bool commas : {false, true}) {
      prop.GetDecodedMultiValue(parts, min_count, commas);
      Check(parts.size() >= static_cast<std::size_t>(min_count));
    }
  }
  for (const bool to_local : {false, true}) {
    double date = 1.0;
    bool valid = true, utc = true;
    prop.GetDecodedDateTimeValue(date, valid, utc, to_local);
    if (!valid) Check(date == 0.0);
  }
  std::vector<std::uint8_t> bytes{1, 2, 3};
  if (!prop.GetDecodedBinaryValue(bytes)) Check(bytes.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static velmora::CLog log;  // level 1, no files: messages are formatted, not written
  // One property line: longer inputs (whole seed files) only slow the run.
  if (size > 8192) return 0;
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  CCardDoc doc(log, {{"Shift_JIS", 932}, {"KOI8-R", 20866}});
  for (const char* version : {"2.1", "3.0"}) {
    std::string card = "BEGIN:VCARD\r\nVERSION:";
    card.append(version).append("\r\n").append(line).append("\r\nEND:VCARD\r\n");
    // Raw bytes as a memory buffer would hold them; the line may hold zero
    // bytes, which the reader turns into spaces.
    if (doc.LoadFromMemory(card.data(), static_cast<std::int32_t>(card.size()), false) ==
        LoadResult::kNoItem) {
      continue;
    }
    for (const auto& item : doc.items()) {
      for (const CCardDocItemProp& prop : item->props()) DecodeAllWays(prop);
    }
  }
  return 0;
}
