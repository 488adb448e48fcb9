#include "spreadsheet/xls_reader.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <velmora/unicode.h>

#include <freexl.h>
#include <gsf/gsf.h>

#include "foundation/code_page.h"
#include "foundation/text_format.h"
#include "spreadsheet/biff_records.h"
#include "spreadsheet/number_format.h"

namespace velmora::spreadsheet {
namespace {

const char* FreexlMessage(int code) {
  switch (code) {
    case FREEXL_FILE_NOT_FOUND:
      return "freexl: the file cannot be opened";
    case FREEXL_INSUFFICIENT_MEMORY:
      return "freexl: out of memory";
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE:
    case FREEXL_CFBF_INVALID_SECTOR_SIZE:
      return "freexl: not a compound file (the container of .xls workbooks)";
    case FREEXL_CFBF_READ_ERROR:
    case FREEXL_CFBF_SEEK_ERROR:
    case FREEXL_CFBF_EMPTY_FAT_CHAIN:
    case FREEXL_CFBF_ILLEGAL_FAT_ENTRY:
    case FREEXL_INVALID_MINI_STREAM:
    case FREEXL_CFBF_ILLEGAL_MINI_FAT_ENTRY:
      return "freexl: damaged compound file";
    case FREEXL_BIFF_INVALID_BOF:
    case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
      return "freexl: no workbook in the file";
    case FREEXL_BIFF_INVALID_SST:
    case FREEXL_BIFF_ILLEGAL_SST_INDEX:
      return "freexl: damaged shared strings";
    case FREEXL_INVALID_CHARACTER:
    case FREEXL_UNSUPPORTED_CHARSET:
      return "freexl: text in a code page it cannot convert";
    case FREEXL_ILLEGAL_RK_VALUE:
      return "freexl: damaged number";
    case FREEXL_CRAFTED_FILE:
      return "freexl: severely damaged (or crafted) file";
    default:
      return "freexl: the workbook cannot be read";
  }
}

struct FreexlHandle {
  const void* handle = nullptr;
  ~FreexlHandle() {
    if (handle != nullptr) freexl_close(handle);
  }
};

template <typename T>
struct GObjectRef {
  T* object = nullptr;
  ~GObjectRef() {
    if (object != nullptr) g_object_unref(object);
  }
};

// A cell that freexl leaves out or changes, as the records hold it.
struct RecordCell {
  enum Kind { kNumber, kBoolean, kError, kString } kind = kNumber;
  std::uint32_t row = 0, col = 0;
  std::uint16_t xf = 0;
  bool formula = false;  // a formula's result
  bool label = false;    // a BIFF5 text cell, which freexl reads too
  double number = 0;
  int code = 0;
  std::u16string text;
};

std::uint64_t Key(std::uint32_t row, std::uint32_t col) {
  return static_cast<std::uint64_t>(row) << 32 | col;
}

// Our own pass over the workbook stream.
class RecordScan {
 public:
  bool Open(const std::filesystem::path& file, const WorkbookLimits& limits);
  // Whether the scan can stand beside freexl's sheet `index` of `count`.
  bool Matches(int count) const { return ok_ && static_cast<int>(sheets_.size()) == count; }
  bool IsChart(int index) const { return sheets_[static_cast<std::size_t>(index)].chart; }
  // BIFF5 workbooks can be read from the records alone, for when freexl
  // cannot read them (it fails on some code pages, Mac Roman among them).
  bool CanStandAlone() const { return ok_ && !biff8_; }
  int SheetCount() const { return static_cast<int>(sheets_.size()); }
  const std::u16string& SheetName(int index) const {
    return sheets_[static_cast<std::size_t>(index)].name;
  }
  DateSystem date_system() const { return date1904_ ? DateSystem::k1904 : DateSystem::k1900; }
  bool IsDateFormat(std::uint16_t xf) const { return xf < xf_dates_.size() && xf_dates_[xf]; }
  // The cells of sheet `index` that freexl leaves out or changes.
  bool ScanSheet(int index, const WorkbookLimits& limits, std::vector<RecordCell>* cells,
                 std::string* error) const;

 private:
  struct Sheet {
    std::uint32_t offset = 0;
    bool chart = false;
    std::u16string name;
  };
  bool ReadGlobals();
  std::u16string Bytes(std::string_view bytes) const {
    return codepage::ToUtf16(code_page_, bytes);
  }
  // A BIFF8 string of `count` characters at `at` (flags byte first), or a
  // BIFF5 string of `count` bytes.
  std::u16string StringAt(std::string_view body, std::size_t at, std::size_t count) const;

  std::string stream_;
  bool ok_ = false;
  bool biff8_ = false;
  bool date1904_ = false;
  int code_page_ = 1252;
  std::vector<int> formats_;  // per custom format index: 1 date, 0 not, -1 none
  std::vector<bool> xf_dates_;
  std::vector<Sheet> sheets_;
};

bool RecordScan::Open(const std::filesystem::path& file, const WorkbookLimits& limits) {
  static std::once_flag init;
  std::call_once(init, [] { gsf_init(); });
  GError* failure = nullptr;
  GObjectRef<GsfInput> input{gsf_input_stdio_new(file.c_str(), &failure)};
  if (failure != nullptr) g_error_free(failure), failure = nullptr;
  if (input.object == nullptr) return false;
  GObjectRef<GsfInfile> container{gsf_infile_msole_new(input.object, &failure)};
  if (failure != nullptr) g_error_free(failure);
  if (container.object == nullptr) return false;
  GObjectRef<GsfInput> stream{gsf_infile_child_by_name(container.object, "Workbook")};
  if (stream.object == nullptr) stream.object = gsf_infile_child_by_name(container.object, "Book");
  if (stream.object == nullptr) return false;
  const gsf_off_t size = gsf_input_size(stream.object);
  if (size < 0 || static_cast<std::uint64_t>(size) > limits.max_stream_bytes) return false;
  stream_.resize(static_cast<std::size_t>(size));
  if (size > 0 && gsf_input_read(stream.object, stream_.size(),
                                 reinterpret_cast<guint8*>(stream_.data())) == nullptr) {
    return false;
  }
  ok_ = ReadGlobals();
  return ok_;
}

std::u16string RecordScan::StringAt(std::string_view body, std::size_t at,
                                    std::size_t count) const {
  if (!biff8_) return Bytes(body.substr(std::min(at, body.size()), count));
  if (at >= body.size()) return {};
  const bool wide = (body[at] & 1) != 0;
  std::string_view chars = body.substr(at + 1);
  if (!wide) return codepage::ToUtf16(28591, chars.substr(0, count));  // Latin-1 units
  std::u16string text;
  for (std::size_t i = 0; i < count && 2 * i + 1 < chars.size(); ++i) {
    text += static_cast<char16_t>(biff::U16At(chars, 2 * i));
  }
  return text;
}

bool RecordScan::ReadGlobals() {
  std::size_t pos = 0;
  bool first = true;
  while (pos + 4 <= stream_.size()) {
    const std::uint16_t id = biff::U16At(stream_, pos);
    const std::uint16_t length = biff::U16At(stream_, pos + 2);
    if (pos + 4 + length > stream_.size()) return false;
    const std::string_view body(stream_.data() + pos + 4, length);
    pos += 4 + length;
    if (first) {
      // BIFF5 (0x0500) and BIFF8 (0x0600) only; older files have no sheets
      // of their own kind and are left to freexl.
      const std::uint16_t version = biff::U16At(body, 0);
      if (id != biff::kBof || (version != 0x0500 && version != 0x0600)) return false;
      biff8_ = version == 0x0600;
      first = false;
      continue;
    }
    switch (id) {
      case biff::kCodePage: {
        const int code_page = biff::U16At(body, 0);
        // 1200 marks BIFF8's own UTF-16; 0x8000 and 0x8001 are old Mac and
        // Windows defaults.
        code_page_ = code_page == 0x8000 ? 10000 : code_page == 0x8001 ? 1252 : code_page;
        if (!codepage::IsKnown(code_page_)) code_page_ = 1252;
        break;
      }
      case biff::kFormat: {
        const std::uint16_t index = biff::U16At(body, 0);
        const std::u16string code =
            biff8_
                ? StringAt(body, 4, biff::U16At(body, 2))
                : Bytes(body.substr(3, static_cast<unsigned char>(body.size() > 2 ? body[2] : 0)));
        if (formats_.size() <= index) formats_.resize(index + 1u, -1);
        formats_[index] = IsDateFormatCode(code) ? 1 : 0;
        break;
      }
      case biff::kXf: {
        const std::uint16_t format = biff::U16At(body, 2);
        const bool custom = format < formats_.size() && formats_[format] >= 0;
        xf_dates_.push_back(custom ? formats_[format] == 1 : IsBuiltInDateFormat(format));
        break;
      }
      case biff::kBoundSheet: {
        const std::size_t length = body.size() > 6 ? static_cast<unsigned char>(body[6]) : 0;
        sheets_.push_back(
            {biff::U32At(body, 0), body.size() > 5 && body[5] == 2, StringAt(body, 7, length)});
        break;
      }
      case biff::kDateMode:
        date1904_ = biff::U16At(body, 0) == 1;
        break;
      case biff::kEof:
        return true;
      default:
        break;
    }
  }
  return false;
}

bool RecordScan::ScanSheet(int index, const WorkbookLimits& limits, std::vector<RecordCell>* cells,
                           std::string* error) const {
  cells->clear();
  std::size_t pos = sheets_[static_cast<std::size_t>(index)].offset;
  int depth = 0;
  std::size_t pending_string = std::string::npos;  // a formula whose text follows
  while (pos + 4 <= stream_.size()) {
    const std::uint16_t id = biff::U16At(stream_, pos);
    const std::uint16_t length = biff::U16At(stream_, pos + 2);
    if (pos + 4 + length > stream_.size()) break;
    const std::string_view body(stream_.data() + pos + 4, length);
    pos += 4 + length;
    if (id == biff::kBof) {
      ++depth;
      continue;
    }
    if (depth == 0) break;  // the sheet does not start with a BOF
    if (id == biff::kEof) {
      if (--depth == 0) break;
      continue;
    }
    if (depth != 1) continue;  // an embedded chart's records
    if (cells->size() >= limits.max_cells) {
      *error =
          FormatUtf8("more than %llu cells", static_cast<unsigned long long>(limits.max_cells));
      return false;
    }
    RecordCell cell;
    cell.row = biff::U16At(body, 0);
    cell.col = biff::U16At(body, 2);
    cell.xf = biff::U16At(body, 4);
    if (id == biff::kString && pending_string != std::string::npos) {
      (*cells)[pending_string].text = StringAt(body, 2, biff::U16At(body, 0));
      pending_string = std::string::npos;
      continue;
    }
    pending_string = std::string::npos;
    switch (id) {
      case biff::kNumber:
        if (body.size() < 14) continue;
        cell.number = biff::DoubleAt(body, 6);
        break;
      case biff::kRk:
        if (body.size() < 10) continue;
        cell.number = biff::RkValue(biff::U32At(body, 6));
        break;
      case biff::kMulRk: {
        for (std::size_t at = 4; at + 6 + 2 <= body.size(); at += 6) {
          RecordCell each = cell;
          each.col = cell.col++;
          each.xf = biff::U16At(body, at);
          each.number = biff::RkValue(biff::U32At(body, at + 2));
          cells->push_back(each);
        }
        continue;
      }
      case biff::kLabel:
      case biff::kRString:
        if (biff8_) continue;  // BIFF8 keeps its text in the shared strings
        cell.kind = RecordCell::kString;
        cell.label = true;
        cell.text = StringAt(body, 8, biff::U16At(body, 6));
        break;
      case biff::kBoolErr:
        if (body.size() < 8) continue;
        cell.kind = body[7] != 0 ? RecordCell::kError : RecordCell::kBoolean;
        cell.code = static_cast<unsigned char>(body[6]);
        break;
      case biff::kFormula:
        if (body.size() < 14) continue;
        cell.formula = true;
        if (biff::U16At(body, 12) != 0xFFFF) {
          cell.number = biff::DoubleAt(body, 6);
        } else if (body[6] == 1) {
          cell.kind = RecordCell::kBoolean;
          cell.code = static_cast<unsigned char>(body[8]);
        } else if (body[6] == 2) {
          cell.kind = RecordCell::kError;
          cell.code = static_cast<unsigned char>(body[8]);
        } else {
          cell.kind = RecordCell::kString;  // its text follows, or none (3)
          cells->push_back(cell);
          if (body[6] == 0) pending_string = cells->size() - 1;
          continue;
        }
        break;
      default:
        continue;
    }
    cells->push_back(cell);
  }
  return true;
}

// freexl's date texts ("2021-01-01", "2021-01-01 15:10:10", "15:10:10")
// back as numbers, for cells our pass did not find.
bool DateTextNumber(const char* text, DateSystem system, double* value) {
  DateParts parts;
  if (std::sscanf(text, "%d-%d-%d %d:%d:%d", &parts.year, &parts.month, &parts.day, &parts.hour,
                  &parts.minute, &parts.second) < 3) {
    parts = DateParts();
    if (std::sscanf(text, "%d:%d:%d", &parts.hour, &parts.minute, &parts.second) != 3) return false;
  }
  return PackDateNumber(parts, system, value);
}

// Puts our own pass's cells into a sheet. Beside freexl, only what freexl
// leaves out (booleans, error values, formula results and their strings);
// alone (BIFF5), every cell.
void ApplyRecords(const RecordScan& scan, const std::vector<RecordCell>& records,
                  bool beside_freexl, WorkbookSheet* sheet) {
  for (const RecordCell& r : records) {
    switch (r.kind) {
      case RecordCell::kNumber:
        if (!beside_freexl || r.formula) {
          sheet->SetNumber(r.row, r.col, r.number, scan.IsDateFormat(r.xf));
        }
        break;
      case RecordCell::kBoolean:
        sheet->SetBoolean(r.row, r.col, r.code != 0);
        break;
      case RecordCell::kError:
        sheet->SetError(r.row, r.col, r.code);
        break;
      case RecordCell::kString:
        if (!beside_freexl || !r.label) sheet->SetString(r.row, r.col, r.text);
        break;
    }
  }
}

// The workbook through freexl, with our pass's cells added.
bool ReadWithFreexl(const void* handle, int sheet_index, const WorkbookLimits& limits,
                    const RecordScan& scan, WorkbookContent* content, std::string* error) {
  FreexlHandle book{handle};
  unsigned int date_mode = 0, sheet_count = 0;
  freexl_get_info(book.handle, FREEXL_BIFF_DATEMODE, &date_mode);
  freexl_get_info(book.handle, FREEXL_BIFF_SHEET_COUNT, &sheet_count);
  if (sheet_count > limits.max_sheets) {
    *error = FormatUtf8("more than %u sheets", limits.max_sheets);
    return false;
  }
  content->date_system =
      date_mode == FREEXL_BIFF_DATEMODE_1904 ? DateSystem::k1904 : DateSystem::k1900;
  const int count = static_cast<int>(sheet_count);
  if (sheet_index != kAllSheets && sheet_index >= count) {
    if (count == 0) return true;
    *error = FormatUtf8("no sheet %d: the workbook has %d", sheet_index, count);
    return false;
  }
  const bool scanned = scan.Matches(count);
  auto shared = std::make_shared<std::vector<std::u16string>>();
  std::unordered_map<const char*, std::uint32_t> shared_index;  // freexl's SST texts
  std::uint64_t cells = 0;
  for (int i = 0; i < count; ++i) {
    if (sheet_index != kAllSheets && sheet_index != i) continue;
    const char* name = nullptr;
    freexl_get_worksheet_name(book.handle, static_cast<unsigned short>(i), &name);
    auto sheet = std::make_unique<WorkbookSheet>(Utf8ToUtf16(name != nullptr ? name : ""), shared);
    if (scanned && scan.IsChart(i)) {
      content->sheets.push_back(std::move(sheet));
      continue;
    }
    std::vector<RecordCell> records;
    if (scanned && !scan.ScanSheet(i, limits, &records, error)) return false;
    std::unordered_map<std::uint64_t, const RecordCell*> numbers;
    for (const RecordCell& r : records) {
      if (r.kind == RecordCell::kNumber && !r.formula) numbers[Key(r.row, r.col)] = &r;
    }
    unsigned int rows = 0;
    unsigned short cols = 0;
    if (freexl_select_active_worksheet(book.handle, static_cast<unsigned short>(i)) != FREEXL_OK ||
        freexl_worksheet_dimensions(book.handle, &rows, &cols) != FREEXL_OK) {
      *error = FormatUtf8("freexl: sheet %d cannot be read", i);
      return false;
    }
    if (static_cast<std::uint64_t>(rows) * cols > limits.max_cells) {
      *error =
          FormatUtf8("more than %llu cells", static_cast<unsigned long long>(limits.max_cells));
      return false;
    }
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < cols; ++c) {
        FreeXL_CellValue value;
        const int got = freexl_get_cell_value(book.handle, r, c, &value);
        if (got != FREEXL_OK) {
          *error = FreexlMessage(got);
          return false;
        }
        if (value.type == FREEXL_CELL_NULL) continue;
        if (++cells > limits.max_cells) {
          *error =
              FormatUtf8("more than %llu cells", static_cast<unsigned long long>(limits.max_cells));
          return false;
        }
        const auto record = numbers.find(Key(r, c));
        switch (value.type) {
          case FREEXL_CELL_INT:
          case FREEXL_CELL_DOUBLE:
          case FREEXL_CELL_DATE:
          case FREEXL_CELL_DATETIME:
          case FREEXL_CELL_TIME: {
            if (record != numbers.end()) {
              sheet->SetNumber(r, c, record->second->number, scan.IsDateFormat(record->second->xf));
            } else if (value.type == FREEXL_CELL_INT) {
              sheet->SetNumber(r, c, value.value.int_value, false);
            } else if (value.type == FREEXL_CELL_DOUBLE) {
              sheet->SetNumber(r, c, value.value.double_value, false);
            } else {
              double number = 0;
              if (DateTextNumber(value.value.text_value, content->date_system, &number)) {
                sheet->SetNumber(r, c, number, true);
              } else {
                sheet->SetString(r, c, Utf8ToUtf16(value.value.text_value));
              }
            }
            break;
          }
          case FREEXL_CELL_SST_TEXT: {
            const auto [it, added] = shared_index.try_emplace(
                value.value.text_value, static_cast<std::uint32_t>(shared->size()));
            if (added) shared->push_back(Utf8ToUtf16(value.value.text_value));
            sheet->SetSharedString(r, c, it->second);
            break;
          }
          case FREEXL_CELL_TEXT:
            sheet->SetString(r, c, Utf8ToUtf16(value.value.text_value));
            break;
          default:
            break;
        }
      }
    }
    // What freexl leaves out: booleans, error values, formula results.
    ApplyRecords(scan, records, /*beside_freexl=*/true, sheet.get());
    sheet->Finish();
    content->sheets.push_back(std::move(sheet));
  }
  return true;
}

// A BIFF5 workbook from our own pass alone.
bool ReadRecordsOnly(const RecordScan& scan, int sheet_index, const WorkbookLimits& limits,
                     WorkbookContent* content, std::string* error) {
  content->date_system = scan.date_system();
  const int count = scan.SheetCount();
  if (sheet_index != kAllSheets && sheet_index >= count) {
    if (count == 0) return true;
    *error = FormatUtf8("no sheet %d: the workbook has %d", sheet_index, count);
    return false;
  }
  for (int i = 0; i < count; ++i) {
    if (sheet_index != kAllSheets && sheet_index != i) continue;
    auto sheet = std::make_unique<WorkbookSheet>(scan.SheetName(i));
    std::vector<RecordCell> records;
    if (!scan.IsChart(i) && !scan.ScanSheet(i, limits, &records, error)) return false;
    ApplyRecords(scan, records, /*beside_freexl=*/false, sheet.get());
    sheet->Finish();
    content->sheets.push_back(std::move(sheet));
  }
  return true;
}

}  // namespace

bool ReadXls(const std::filesystem::path& file, int sheet_index, const WorkbookLimits& limits,
             WorkbookContent* content, std::string* error) {
  *content = WorkbookContent();
  RecordScan scan;
  scan.Open(file, limits);
  const void* handle = nullptr;
  const int opened = freexl_open(file.c_str(), &handle);
  unsigned int version = FREEXL_UNKNOWN;
  if (opened == FREEXL_OK) freexl_get_info(handle, FREEXL_BIFF_VERSION, &version);
  if (opened == FREEXL_OK && version != FREEXL_UNKNOWN) {
    return ReadWithFreexl(handle, sheet_index, limits, scan, content, error);
  }
  if (handle != nullptr) freexl_close(handle);
  if (scan.CanStandAlone()) return ReadRecordsOnly(scan, sheet_index, limits, content, error);
  *error =
      opened != FREEXL_OK ? FreexlMessage(opened) : "freexl: no workbook it can read in the file";
  return false;
}

bool ReadXlsRecords(const std::filesystem::path& file, int sheet_index,
                    const WorkbookLimits& limits, WorkbookContent* content, std::string* error) {
  *content = WorkbookContent();
  RecordScan scan;
  if (!scan.Open(file, limits) || !scan.CanStandAlone()) {
    *error = "not a BIFF5 workbook";
    return false;
  }
  return ReadRecordsOnly(scan, sheet_index, limits, content, error);
}

}  // namespace velmora::spreadsheet
