// Reads a CSV address book step by step and prints its contacts as vCards:
// what each column was recognised as on standard error, the vCards on
// standard output. With the localised Outlook header names (the
// supportedOutlookHeaders.csv installed with the library), exports of a
// German or French Outlook are read too.
//
//   csv_to_vcards CONTACTS.csv [supportedOutlookHeaders.csv] > contacts.vcf
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <velmora/velmora.h>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: %s CONTACTS.csv [supportedOutlookHeaders.csv]\n", argv[0]);
    return 2;
  }
  using namespace velmora;

  std::shared_ptr<ICardConverter> converter = CreateCardConverter();
  // No product code: nothing is logged.
  const Variant locales = argc == 3 ? Variant(Utf8ToUtf16(argv[2])) : Variant();
  if (!converter || FAILED(converter->InitEx2(u"", {}, {}, false, {}, locales))) return 1;

  // The file's encoding is recognised when it is UTF-8 or UTF-16; other
  // bytes are read as Windows-1252.
  std::shared_ptr<ICsvContent> content;
  HRESULT status = converter->LoadCsvContent(Utf8ToUtf16(argv[1]), 1252, &content);
  if (status != S_OK) {
    std::fprintf(stderr, "cannot read %s (status 0x%08X)\n", argv[1],
                 static_cast<unsigned>(status));
    return 1;
  }

  // The separator and, for a localised Outlook export, its locale.
  std::u16string separator;
  if (content->AutoDetectSeparator(&separator) != S_OK) separator.assign(1, u',');
  std::vector<std::u16string> header;
  std::shared_ptr<ICsvCells> cells;
  if (content->Parse(&cells, 1, 0, Variant(), Variant(separator)) != S_OK ||
      cells->row(0, &header) != S_OK) {
    std::fprintf(stderr, "%s holds no rows\n", argv[1]);
    return 1;
  }
  std::vector<std::int32_t> codes;
  std::u16string lid;
  bool custom = false;
  ECsvType type = vlmcsvUnknown;
  converter->AutodetectCsvHeaders(header, &codes, &lid, &custom, &type);

  // The whole table, its header names read in that locale.
  status = content->Parse2(&cells, -1, 0, Variant(), Variant(), Variant(), Variant(lid));
  if (FAILED(status)) return 1;
  std::int32_t columns = 0;
  cells->get_ColCount(&columns);
  for (std::int32_t col = 0; col < columns; ++col) {
    std::u16string name;
    cells->HeaderName(col, &name);
    std::fprintf(stderr, "%-28s -> %s\n", Utf16ToUtf8(header[col]).c_str(),
                 name.empty() ? "(kept in the notes)" : Utf16ToUtf8(name).c_str());
  }

  std::int32_t empties = 0, errors = 0, count = 0;
  std::shared_ptr<ICards> cards;
  status = cells->ConvertRows(&empties, &errors, &cards);
  if (status == S_OK) {
    std::vector<std::uint8_t> vcards;
    cards->GetAllItems(&vcards);
    std::fwrite(vcards.data(), 1, vcards.size(), stdout);
    std::fputs("\r\n", stdout);  // the cards are joined, not ended, by CR LF
    cards->get_Count(&count);
    std::fflush(stdout);
  }
  std::fprintf(stderr, "%d contacts, %d empty rows, %d errors\n", count, empties, errors);
  return FAILED(status) ? 1 : 0;
}
