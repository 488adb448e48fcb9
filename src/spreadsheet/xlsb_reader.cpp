#include "spreadsheet/xlsb_reader.h"

#include <map>
#include <memory>
#include <vector>

#include "foundation/text_format.h"
#include "spreadsheet/biff12_records.h"
#include "spreadsheet/biff_records.h"
#include "spreadsheet/number_format.h"
#include "spreadsheet/ooxml_package.h"
#include "spreadsheet/ooxml_text.h"

namespace velmora::spreadsheet {
namespace {

using biff12::RecordBody;

constexpr std::uint32_t kMaxRow = 1048575;
constexpr std::uint32_t kMaxCol = 16383;

// Streams one binary part through `handler`, which returns false (with
// `error` set) to stop.
bool ReadBinaryPart(ZipArchive& zip, std::string_view part, const WorkbookLimits& limits,
                    const biff12::RecordStream::Handler& handler, std::string* error) {
  // No record that is read here holds more than one string of the largest
  // length, and a few fields around it.
  const std::uint32_t max_record = limits.max_string_length * 2 + 4096;
  biff12::RecordStream stream(max_record, handler);
  const bool read = zip.Read(
      part, [&stream](std::string_view piece) { return stream.Feed(piece); }, error);
  if (read && stream.Finish()) return true;
  if (!stream.error().empty()) *error = stream.error();
  if (read && error->empty()) *error = "part ends inside a record";
  if (error->find(" in ") == std::string::npos) error->append(" in ").append(part);
  return false;
}

struct SheetEntry {
  std::u16string name;
  std::string relationship;
};

}  // namespace

bool ReadXlsb(ZipArchive& zip, int sheet_index, const WorkbookLimits& limits,
              WorkbookContent* content, std::string* error) {
  *content = WorkbookContent();
  std::string workbook_part;
  if (!FindWorkbookPart(zip, "xl/workbook.bin", &workbook_part, error)) return false;
  std::vector<SheetEntry> sheets;
  bool date1904 = false;
  const bool workbook_read = ReadBinaryPart(
      zip, workbook_part, limits,
      [&](std::uint32_t type, std::string_view data) {
        RecordBody body(data);
        if (type == biff12::kWorkbookProperties) {
          date1904 = (body.U32() & 1) != 0;
        } else if (type == biff12::kBundleSheet) {
          body.Skip(8);  // visibility and tab id
          const std::u16string id = body.WideString(limits.max_string_length, true);
          SheetEntry entry;
          entry.name = body.WideString(limits.max_string_length);
          entry.relationship = Utf16ToUtf8Text(id);
          if (body.failed()) {
            *error = "damaged sheet entry";
            return false;
          }
          if (sheets.size() >= limits.max_sheets) {
            *error = FormatUtf8("more than %u sheets", limits.max_sheets);
            return false;
          }
          sheets.push_back(std::move(entry));
        }
        return true;
      },
      error);
  if (!workbook_read) return false;
  content->date_system = date1904 ? DateSystem::k1904 : DateSystem::k1900;
  std::vector<PackageRelationship> relationships;
  if (!ReadRelationships(zip, workbook_part, &relationships, error)) return false;
  auto find = [&relationships](std::string_view key, bool by_type) -> const PackageRelationship* {
    for (const PackageRelationship& r : relationships) {
      if ((by_type ? r.type : r.id) == key && !r.target.empty()) return &r;
    }
    return nullptr;
  };

  // Styles: which cell formats show dates.
  std::vector<bool> dates;
  if (const PackageRelationship* styles = find("styles", true);
      styles != nullptr && zip.Has(styles->target)) {
    std::map<std::uint16_t, bool> custom;
    bool in_cell_xfs = false;
    const bool read = ReadBinaryPart(
        zip, styles->target, limits,
        [&](std::uint32_t type, std::string_view data) {
          RecordBody body(data);
          if (type == biff12::kFormat) {
            const std::uint16_t id = body.U16();
            custom[id] = IsDateFormatCode(body.WideString(limits.max_string_length));
          } else if (type == biff12::kBeginCellXfs) {
            in_cell_xfs = true;
          } else if (type == biff12::kEndCellXfs) {
            in_cell_xfs = false;
          } else if (type == biff12::kXf && in_cell_xfs) {
            body.Skip(2);
            const std::uint16_t format = body.U16();
            const auto found = custom.find(format);
            dates.push_back(found != custom.end() ? found->second : IsBuiltInDateFormat(format));
          }
          return true;
        },
        error);
    if (!read) return false;
  }

  auto shared = std::make_shared<std::vector<std::u16string>>();
  if (const PackageRelationship* strings = find("sharedStrings", true);
      strings != nullptr && zip.Has(strings->target)) {
    const bool read = ReadBinaryPart(
        zip, strings->target, limits,
        [&](std::uint32_t type, std::string_view data) {
          if (type != biff12::kSharedStringItem) return true;
          RecordBody body(data);
          body.Skip(1);  // rich text and phonetic flags; the runs follow the text
          shared->push_back(UnescapeOoxml(body.WideString(limits.max_string_length)));
          if (body.failed()) {
            *error = "damaged shared string";
            return false;
          }
          if (shared->size() > limits.max_strings) {
            *error = FormatUtf8("more than %u shared strings", limits.max_strings);
            return false;
          }
          return true;
        },
        error);
    if (!read) return false;
  }

  if (sheet_index != kAllSheets &&
      (sheet_index < 0 || static_cast<std::size_t>(sheet_index) >= sheets.size())) {
    if (sheets.empty()) return true;
    *error = FormatUtf8("no sheet %d: the workbook has %u", sheet_index,
                        static_cast<unsigned>(sheets.size()));
    return false;
  }
  std::uint64_t cells = 0;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (sheet_index != kAllSheets && static_cast<std::size_t>(sheet_index) != i) continue;
    auto sheet = std::make_unique<WorkbookSheet>(sheets[i].name, shared);
    const PackageRelationship* target = find(sheets[i].relationship, false);
    if (target == nullptr) {
      *error = FormatUtf8("sheet %s has no part", sheets[i].name);
      return false;
    }
    if (target->type == "worksheet") {
      std::uint32_t row = 0;
      const bool read = ReadBinaryPart(
          zip, target->target, limits,
          [&](std::uint32_t type, std::string_view data) {
            RecordBody body(data);
            if (type == biff12::kRowHeader) {
              row = body.U32();
              if (body.failed() || row > kMaxRow) {
                *error = FormatUtf8("invalid row %u", row);
                return false;
              }
              return true;
            }
            if (type > biff12::kFormulaError) return true;
            const std::uint32_t col = body.U32();
            const std::uint32_t style = body.U32() & 0xFFFFFF;
            if (body.failed() || col > kMaxCol) {
              *error = FormatUtf8("invalid cell in row %u", row + 1);
              return false;
            }
            if (++cells > limits.max_cells) {
              *error = FormatUtf8("more than %llu cells",
                                  static_cast<unsigned long long>(limits.max_cells));
              return false;
            }
            const bool is_date = style < dates.size() && dates[style];
            switch (type) {
              case biff12::kCellBlank:
                sheet->SetBlank(row, col);
                break;
              case biff12::kCellRk:
                sheet->SetNumber(row, col, biff::RkValue(body.U32()), is_date);
                break;
              case biff12::kCellReal:
              case biff12::kFormulaNumber:
                sheet->SetNumber(row, col, body.Double(), is_date);
                break;
              case biff12::kCellError:
              case biff12::kFormulaError:
                sheet->SetError(row, col, body.U8());
                break;
              case biff12::kCellBool:
              case biff12::kFormulaBool:
                sheet->SetBoolean(row, col, body.U8() != 0);
                break;
              case biff12::kCellString:
              case biff12::kFormulaString:
                sheet->SetString(row, col,
                                 UnescapeOoxml(body.WideString(limits.max_string_length)));
                break;
              case biff12::kCellSharedString: {
                const std::uint32_t index = body.U32();
                if (!body.failed() && index >= shared->size()) {
                  *error = FormatUtf8("shared string %u does not exist", index);
                  return false;
                }
                sheet->SetSharedString(row, col, index);
                break;
              }
              default:
                break;
            }
            if (body.failed()) {
              *error = FormatUtf8("damaged cell in row %u", row + 1);
              return false;
            }
            return true;
          },
          error);
      if (!read) return false;
    }
    sheet->Finish();
    content->sheets.push_back(std::move(sheet));
  }
  return true;
}

}  // namespace velmora::spreadsheet
