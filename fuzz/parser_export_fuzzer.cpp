// Fuzzes the parser and the writer together: arbitrary bytes are loaded as a
// file would be, every item is parsed into a record, each record is written
// as vCard 2.1 and 3.0 in an 8-bit charset (windows-1251) and in Shift_JIS,
// whose second bytes may be '\' or '|'. Whatever the writer produced must
// load again into exactly as many items as it wrote.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "contact/contact_record.h"
#include "foundation/log.h"
#include "vcard/card_doc.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"

namespace {

using velmora::vcard::CCardDoc;
using velmora::vcard::CCardExport;
using velmora::vcard::CCardParser;

struct Target {
  int version;
  int code_page;
  const char* charset;
};
constexpr Target kTargets[] = {
    {21, 1251, "windows-1251"},
    {30, 1251, "windows-1251"},
    {21, 932, "shift_jis"},
    {30, 932, "shift_jis"},
};

void Reload(velmora::CLog& log, const std::string& text, int written) {
  if (written == 0) return;
  CCardDoc doc(log);
  const velmora::vcard::LoadResult loaded =
      doc.LoadFromMemory(text.data(), static_cast<std::int32_t>(text.size()), true);
  if (loaded != velmora::vcard::LoadResult::kComplete || doc.GetItemCount() != written)
    __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static velmora::CLog log;  // level 1, no files
  if (size > 1 << 20) return 0;
  CCardParser parser(log, {{"Shift_JIS", 932}, {"KOI8-R", 20866}});
  auto doc = parser.NewDocument();
  if (doc->LoadFromMemory(reinterpret_cast<const char*>(data), static_cast<std::int32_t>(size),
                          true) == velmora::vcard::LoadResult::kNoItem) {
    return 0;
  }
  CCardExport exporter(log);
  std::string out[std::size(kTargets)];
  int written[std::size(kTargets)] = {};
  for (const auto& item : doc->items()) {
    const velmora::contact::ContactRecord& record = parser.ParseItem(*item);
    for (std::size_t t = 0; t < std::size(kTargets); ++t) {
      const char* text = nullptr;
      std::size_t length = 0;
      if (exporter.ExportContact(&record, kTargets[t].version, kTargets[t].code_page,
                                 kTargets[t].charset, &text, &length) != velmora::S_OK) {
        continue;
      }
      out[t].append(text, length);
      ++written[t];
    }
  }
  for (std::size_t t = 0; t < std::size(kTargets); ++t) Reload(log, out[t], written[t]);
  return 0;
}
