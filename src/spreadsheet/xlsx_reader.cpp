#include "spreadsheet/xlsx_reader.h"

#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <velmora/unicode.h>

#include "foundation/text_format.h"
#include "spreadsheet/cell_error.h"
#include "spreadsheet/number_format.h"
#include "spreadsheet/ooxml_package.h"
#include "spreadsheet/ooxml_text.h"

namespace velmora::spreadsheet {
namespace {

bool IsTrue(const char* value) {
  return value != nullptr && (std::strcmp(value, "1") == 0 || std::strcmp(value, "true") == 0);
}

bool ParseInt(std::string_view text, long long* value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

bool ParseDouble(std::string_view text, double* value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '+')) text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
  return ec == std::errc() && end == text.data() + text.size();
}

// Text gathered from character data, bounded by the string limit (UTF-8
// takes at most three bytes per UTF-16 unit).
class TextBuffer {
 public:
  explicit TextBuffer(std::uint32_t max_units) : max_bytes_(std::uint64_t{max_units} * 3) {}
  bool Append(std::string_view text) {
    if (text_.size() + text.size() > max_bytes_) return false;
    text_.append(text);
    return true;
  }
  void Clear() { text_.clear(); }
  const std::string& str() const { return text_; }

 private:
  std::uint64_t max_bytes_;
  std::string text_;
};

// --- workbook.xml: the sheets and the date system ---------------------------

struct SheetEntry {
  std::u16string name;
  std::string relationship;
};

class WorkbookHandler : public XmlHandler {
 public:
  explicit WorkbookHandler(const WorkbookLimits& limits) : limits_(limits) {}

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "workbookPr") {
      date1904 = IsTrue(attributes.Get("date1904"));
    } else if (name == "sheet") {
      if (sheets.size() >= limits_.max_sheets) {
        Stop(FormatUtf8("more than %u sheets", limits_.max_sheets));
        return;
      }
      const char* sheet_name = attributes.Get("name");
      const char* id = attributes.Get("id", true);
      sheets.push_back(
          {Utf8ToUtf16(sheet_name != nullptr ? sheet_name : ""), id != nullptr ? id : ""});
    }
  }
  void EndElement(std::string_view) override {}
  void Text(std::string_view) override {}

  bool date1904 = false;
  std::vector<SheetEntry> sheets;

 private:
  const WorkbookLimits& limits_;
};

// --- styles.xml: which cell formats show dates --------------------------------

class StylesHandler : public XmlHandler {
 public:
  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "numFmts") {
      in_formats_ = true;
    } else if (name == "cellXfs") {
      in_cell_xfs_ = true;
    } else if (name == "numFmt" && in_formats_) {
      long long id = 0;
      const char* id_text = attributes.Get("numFmtId");
      const char* code = attributes.Get("formatCode");
      if (id_text != nullptr && code != nullptr && ParseInt(id_text, &id)) {
        custom_[id] = IsDateFormatCode(Utf8ToUtf16(code));
      }
    } else if (name == "xf" && in_cell_xfs_) {
      long long id = 0;
      const char* id_text = attributes.Get("numFmtId");
      if (id_text == nullptr || !ParseInt(id_text, &id)) id = 0;
      formats_.push_back(id);
    }
  }
  void EndElement(std::string_view name) override {
    if (name == "numFmts") in_formats_ = false;
    if (name == "cellXfs") in_cell_xfs_ = false;
  }
  void Text(std::string_view) override {}

  // Per cell format index: whether it shows a date.
  std::vector<bool> DateFormats() const {
    std::vector<bool> out;
    out.reserve(formats_.size());
    for (const long long id : formats_) {
      const auto custom = custom_.find(id);
      out.push_back(custom != custom_.end() ? custom->second
                                            : IsBuiltInDateFormat(static_cast<int>(id)));
    }
    return out;
  }

 private:
  bool in_formats_ = false;
  bool in_cell_xfs_ = false;
  std::map<long long, bool> custom_;
  std::vector<long long> formats_;
};

// --- sharedStrings.xml ---------------------------------------------------------

class SharedStringsHandler : public XmlHandler {
 public:
  SharedStringsHandler(const WorkbookLimits& limits, std::vector<std::u16string>* out)
      : limits_(limits), text_(limits.max_string_length), out_(out) {}

  void StartElement(std::string_view name, const XmlAttributes&) override {
    if (name == "si") {
      in_item_ = true;
      text_.Clear();
    } else if (name == "rPh") {
      ++in_phonetic_;
    } else if (name == "t" && in_item_ && in_phonetic_ == 0) {
      in_text_ = true;
    }
  }
  void EndElement(std::string_view name) override {
    if (name == "t") {
      in_text_ = false;
    } else if (name == "rPh") {
      --in_phonetic_;
    } else if (name == "si" && in_item_) {
      in_item_ = false;
      if (out_->size() >= limits_.max_strings) {
        Stop(FormatUtf8("more than %u shared strings", limits_.max_strings));
        return;
      }
      out_->push_back(UnescapeOoxml(Utf8ToUtf16(text_.str())));
      if (out_->back().size() > limits_.max_string_length) Stop("shared string too long");
    }
  }
  void Text(std::string_view text) override {
    if (in_text_ && !text_.Append(text)) Stop("shared string too long");
  }

 private:
  const WorkbookLimits& limits_;
  TextBuffer text_;
  std::vector<std::u16string>* out_;
  bool in_item_ = false;
  bool in_text_ = false;
  int in_phonetic_ = 0;
};

// --- a worksheet -----------------------------------------------------------------

class SheetHandler : public XmlHandler {
 public:
  SheetHandler(const WorkbookLimits& limits, std::uint64_t* cells, const std::vector<bool>& dates,
               std::size_t shared_count, DateSystem system, WorkbookSheet* sheet)
      : limits_(limits),
        system_(system),
        cells_(cells),
        dates_(dates),
        shared_count_(shared_count),
        text_(limits.max_string_length),
        sheet_(sheet) {}

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name == "sheetData") {
      in_data_ = true;
    } else if (!in_data_) {
      return;
    } else if (name == "row") {
      StartRow(attributes.Get("r"));
    } else if (name == "c") {
      StartCell(attributes);
    } else if (!in_cell_) {
      return;
    } else if (name == "v") {
      in_value_ = true;
    } else if (name == "is") {
      in_inline_ = true;
    } else if (name == "rPh") {
      ++in_phonetic_;
    } else if (name == "t" && in_inline_ && in_phonetic_ == 0) {
      in_value_ = true;
    }
  }

  void EndElement(std::string_view name) override {
    if (name == "sheetData") {
      in_data_ = false;
    } else if (name == "c" && in_cell_) {
      in_cell_ = false;
      EndCell();
    } else if (name == "v" || name == "t") {
      in_value_ = false;
    } else if (name == "is") {
      in_inline_ = false;
    } else if (name == "rPh") {
      --in_phonetic_;
    }
  }

  void Text(std::string_view text) override {
    if (in_value_ && !text_.Append(text)) Stop(FormatUtf8("cell %s: text too long", Where()));
  }

 private:
  void StartRow(const char* r) {
    long long number = 0;
    if (r != nullptr) {
      if (!ParseInt(r, &number) || number < 1 || number > 1048576) {
        Stop(FormatUtf8("invalid row number %s", r));
        return;
      }
      row_ = static_cast<std::uint32_t>(number - 1);
    } else {
      row_ = next_row_;
    }
    next_row_ = row_ + 1;
    next_col_ = 0;
  }

  void StartCell(const XmlAttributes& attributes) {
    in_cell_ = true;
    text_.Clear();
    in_value_ = in_inline_ = false;
    in_phonetic_ = 0;
    const char* r = attributes.Get("r");
    if (r != nullptr) {
      std::uint32_t row = 0;
      if (!ParseCellReference(r, &row, &col_)) {
        Stop(FormatUtf8("invalid cell reference %s", r));
        return;
      }
      // A reference outside its row is taken as written.
      row_ = row;
      next_row_ = row + 1;
    } else {
      col_ = next_col_;
    }
    next_col_ = col_ + 1;
    if (col_ >= 16384) {
      Stop("cell beyond the last column");
      return;
    }
    const char* type = attributes.Get("t");
    type_ = type != nullptr ? type : "n";
    long long style = 0;
    const char* s = attributes.Get("s");
    is_date_ = s != nullptr && ParseInt(s, &style) && style >= 0 &&
               static_cast<std::size_t>(style) < dates_.size() && dates_[style];
  }

  std::string Where() const {
    std::string letters;
    for (std::uint32_t c = col_ + 1; c > 0; c = (c - 1) / 26) {
      letters.insert(letters.begin(), static_cast<char>('A' + (c - 1) % 26));
    }
    return letters + std::to_string(row_ + 1);
  }

  void EndCell() {
    if (++*cells_ > limits_.max_cells) {
      Stop(FormatUtf8("more than %llu cells", static_cast<unsigned long long>(limits_.max_cells)));
      return;
    }
    const std::string& text = text_.str();
    if (type_ == "s") {
      long long index = -1;
      if (!ParseInt(text, &index) || index < 0 ||
          static_cast<std::size_t>(index) >= shared_count_) {
        Stop(FormatUtf8("cell %s: shared string %s does not exist", Where(), text));
        return;
      }
      sheet_->SetSharedString(row_, col_, static_cast<std::uint32_t>(index));
    } else if (type_ == "str" || type_ == "inlineStr") {
      sheet_->SetString(row_, col_, UnescapeOoxml(Utf8ToUtf16(text)));
    } else if (type_ == "b") {
      sheet_->SetBoolean(row_, col_, text == "1" || text == "true");
    } else if (type_ == "e") {
      sheet_->SetError(row_, col_, CellErrorCode(text));
    } else if (type_ == "d") {
      SetIsoDate(text);
    } else if (text.empty()) {
      sheet_->SetBlank(row_, col_);
    } else {
      double value = 0;
      if (!ParseDouble(text, &value)) {
        Stop(FormatUtf8("cell %s: %s is not a number", Where(), text));
        return;
      }
      sheet_->SetNumber(row_, col_, value, is_date_);
    }
  }

  // "2021-01-02T15:10:10" (date, time or both); a text that is none stays
  // text.
  void SetIsoDate(const std::string& text) {
    DateParts parts;
    int fields[6] = {};
    const int read = std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d", &fields[0], &fields[1],
                                 &fields[2], &fields[3], &fields[4], &fields[5]);
    if (read >= 3) {
      parts = {fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
    } else if (std::sscanf(text.c_str(), "%d:%d:%d", &fields[3], &fields[4], &fields[5]) == 3) {
      parts.hour = fields[3], parts.minute = fields[4], parts.second = fields[5];
    }
    double value = 0;
    if ((read >= 3 || parts.hour || parts.minute || parts.second) &&
        PackDateNumber(parts, system_, &value)) {
      sheet_->SetNumber(row_, col_, value, true);
    } else {
      sheet_->SetString(row_, col_, Utf8ToUtf16(text));
    }
  }

  const WorkbookLimits& limits_;
  DateSystem system_;
  std::uint64_t* cells_;
  const std::vector<bool>& dates_;
  std::size_t shared_count_;
  TextBuffer text_;
  WorkbookSheet* sheet_;
  bool in_data_ = false, in_cell_ = false, in_value_ = false, in_inline_ = false;
  int in_phonetic_ = 0;
  std::uint32_t row_ = 0, next_row_ = 0, col_ = 0, next_col_ = 0;
  std::string type_;
  bool is_date_ = false;
};

const PackageRelationship* FindRelationship(const std::vector<PackageRelationship>& list,
                                            std::string_view id) {
  for (const PackageRelationship& r : list) {
    if (r.id == id) return &r;
  }
  return nullptr;
}

const PackageRelationship* FindType(const std::vector<PackageRelationship>& list,
                                    std::string_view type) {
  for (const PackageRelationship& r : list) {
    if (r.type == type && !r.target.empty()) return &r;
  }
  return nullptr;
}

}  // namespace

bool ReadXlsx(ZipArchive& zip, int sheet_index, const WorkbookLimits& limits,
              WorkbookContent* content, std::string* error) {
  *content = WorkbookContent();
  std::string workbook_part;
  if (!FindWorkbookPart(zip, "xl/workbook.xml", &workbook_part, error)) return false;
  WorkbookHandler workbook(limits);
  if (!ParseXmlPart(zip, workbook_part, workbook, error)) return false;
  content->date_system = workbook.date1904 ? DateSystem::k1904 : DateSystem::k1900;
  std::vector<PackageRelationship> relationships;
  if (!ReadRelationships(zip, workbook_part, &relationships, error)) return false;

  std::vector<bool> dates;
  if (const PackageRelationship* styles = FindType(relationships, "styles");
      styles != nullptr && zip.Has(styles->target)) {
    StylesHandler handler;
    if (!ParseXmlPart(zip, styles->target, handler, error)) return false;
    dates = handler.DateFormats();
  }
  auto shared = std::make_shared<std::vector<std::u16string>>();
  if (const PackageRelationship* strings = FindType(relationships, "sharedStrings");
      strings != nullptr && zip.Has(strings->target)) {
    SharedStringsHandler handler(limits, shared.get());
    if (!ParseXmlPart(zip, strings->target, handler, error)) return false;
  }

  if (sheet_index != kAllSheets &&
      (sheet_index < 0 || static_cast<std::size_t>(sheet_index) >= workbook.sheets.size())) {
    if (!workbook.sheets.empty()) {
      *error = FormatUtf8("no sheet %d: the workbook has %u", sheet_index,
                          static_cast<unsigned>(workbook.sheets.size()));
      return false;
    }
    return true;
  }
  std::uint64_t cells = 0;
  for (std::size_t i = 0; i < workbook.sheets.size(); ++i) {
    if (sheet_index != kAllSheets && static_cast<std::size_t>(sheet_index) != i) continue;
    const SheetEntry& entry = workbook.sheets[i];
    auto sheet = std::make_unique<WorkbookSheet>(entry.name, shared);
    const PackageRelationship* target = FindRelationship(relationships, entry.relationship);
    if (target == nullptr || target->target.empty()) {
      *error = FormatUtf8("sheet %s has no part", entry.name);
      return false;
    }
    if (target->type == "worksheet") {
      SheetHandler handler(limits, &cells, dates, shared->size(), content->date_system,
                           sheet.get());
      if (!ParseXmlPart(zip, target->target, handler, error)) return false;
    }
    sheet->Finish();
    content->sheets.push_back(std::move(sheet));
  }
  return true;
}

}  // namespace velmora::spreadsheet
