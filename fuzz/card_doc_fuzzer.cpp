// Fuzzes the vCard document reader and every value decoder: arbitrary bytes
// are loaded (with and without content decoding), every property of every
// item is decoded in every way, and each item's text must read back into the
// same item.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "foundation/log.h"
#include "vcard/card_doc.h"

namespace {

using velmora::vcard::CCardDoc;
using velmora::vcard::CCardDocItem;
using velmora::vcard::CCardDocItemProp;
using velmora::vcard::LoadResult;

void DecodeEverything(const CCardDocItem& item) {
  std::u16string text;
  std::vector<std::u16string> parts;
  std::vector<std::uint8_t> bytes;
  std::string types;
  std::vector<std::string> type_list;
  for (const CCardDocItemProp& prop : item.props()) {
    prop.GetDecodedValue(text, false, false);
    prop.GetDecodedValue(text, true, true);
    prop.GetDecodedMultiValue(parts, 7, false);
    prop.GetDecodedMultiValue(parts, 0, true);
    double date = 0;
    bool valid = false, utc = false;
    prop.GetDecodedDateTimeValue(date, valid, utc, true);
    prop.GetDecodedBinaryValue(bytes);
    prop.GetTypes(types, &type_list);
    (void)prop.ToString();
    for (const auto& param : prop.params()) (void)param.ToString();
  }
  (void)item.begin_prop().ToString();
  (void)item.end_prop().ToString();
}

// An item's text must read back into one item with the same text.
void CheckRoundTrip(velmora::CLog& log, const CCardDocItem& item) {
  const std::string text = item.ToString();
  CCardDoc again(log);
  if (again.LoadFromMemory(text.data(), static_cast<std::int32_t>(text.size()), false) !=
          LoadResult::kComplete ||
      again.GetItemCount() != 1 || again.GetItem(0)->ToString() != text ||
      again.GetItem(0)->GetPropCount() != item.GetPropCount()) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static velmora::CLog log;  // level 1, no files: messages are formatted, not written
  if (size > 0x7FFFFFF) return 0;
  const char* bytes = reinterpret_cast<const char*>(data);
  const auto length = static_cast<std::int32_t>(size);
  CCardDoc doc(log, {{"Shift_JIS", 932}, {"KOI8-R", 20866}});
  for (const bool decode : {true, false}) {
    doc.LoadFromMemory(bytes, length, decode);
    for (const auto& item : doc.items()) {
      DecodeEverything(*item);
      CheckRoundTrip(log, *item);
    }
  }
  // The zero-terminated form stops at the first zero byte.
  const std::string text(bytes, size);
  doc.LoadFromString(text.c_str());
  return 0;
}
