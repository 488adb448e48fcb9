#include "spreadsheet/xls_writer.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include <gsf/gsf.h>

#include "spreadsheet/biff_records.h"

namespace velmora::spreadsheet {
namespace {

constexpr std::uint16_t kBiff8 = 0x0600;
constexpr std::uint16_t kGlobalsKind = 0x0005;
constexpr std::uint16_t kSheetKind = 0x0010;
constexpr std::uint16_t kUnicodeCodePage = 1200;
// Excel wants 15 style formats before the first cell format; every cell
// uses that one (index 15).
constexpr int kStyleXfs = 15;
constexpr std::uint16_t kCellXf = 15;

void Put16(std::string& out, std::uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value & 0xFFFF));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

void PutHex(std::string& out, std::string_view hex) {
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
  }
}

// A stream of records.
class Records {
 public:
  void Add(std::uint16_t id, std::string_view body) {
    Put16(bytes_, id);
    Put16(bytes_, static_cast<std::uint16_t>(body.size()));
    bytes_.append(body);
  }
  std::size_t size() const { return bytes_.size(); }
  std::string& bytes() { return bytes_; }

 private:
  std::string bytes_;
};

std::string Bof(std::uint16_t kind) {
  std::string body;
  Put16(body, kBiff8);
  Put16(body, kind);
  Put16(body, 0x0DBB);  // build
  Put16(body, 0x07CC);  // year
  Put32(body, 0);       // file history
  Put32(body, kBiff8);  // lowest version that can read the file
  return body;
}

// A sheet name or font name: 8-bit length, then UTF-16 text.
std::string ShortString(std::u16string_view text) {
  std::string body;
  body += static_cast<char>(text.size());
  body += '\x01';
  for (const char16_t c : text) Put16(body, c);
  return body;
}

// The shared string table: the SST record with its CONTINUE records and
// the EXTSST index into them. A string's header never splits; its
// characters may, and the CONTINUE record that carries the rest starts
// with the flags byte again.
class SharedStrings {
 public:
  std::uint32_t Index(const std::u16string& text) {
    const auto [it, added] = index_.try_emplace(text, static_cast<std::uint32_t>(order_.size()));
    if (added) order_.push_back(&it->first);
    return it->second;
  }
  void CountUse() { ++uses_; }

  // Appends the SST and EXTSST records to `out`.
  void Write(Records& out) const {
    const std::size_t bucket = std::max<std::size_t>(8, (order_.size() + 127) / 128);
    std::string extsst;
    Put16(extsst, static_cast<std::uint16_t>(bucket));
    std::string body;
    Put32(body, uses_);
    Put32(body, static_cast<std::uint32_t>(order_.size()));
    std::uint16_t id = biff::kSst;
    auto flush = [&](std::uint16_t next) {
      out.Add(id, body);
      body.clear();
      id = next;
    };
    for (std::size_t i = 0; i < order_.size(); ++i) {
      const std::u16string& text = *order_[i];
      if (body.size() + 3 + 2 > biff::kMaxRecordBody) flush(biff::kContinue);
      if (i % bucket == 0) {
        Put32(extsst, static_cast<std::uint32_t>(out.size() + 4 + body.size()));
        Put16(extsst, static_cast<std::uint16_t>(4 + body.size()));
        Put16(extsst, 0);
      }
      Put16(body, static_cast<std::uint16_t>(text.size()));
      body += '\x01';  // UTF-16 characters
      for (std::size_t c = 0; c < text.size(); ++c) {
        if (body.size() + 2 > biff::kMaxRecordBody) {
          flush(biff::kContinue);
          body += '\x01';
        }
        Put16(body, text[c]);
      }
    }
    flush(biff::kContinue);
    out.Add(biff::kExtSst, extsst);
  }

 private:
  std::unordered_map<std::u16string, std::uint32_t> index_;
  std::vector<const std::u16string*> order_;
  std::uint32_t uses_ = 0;
};

std::string SheetStream(const WorkbookSheet& sheet, bool selected, SharedStrings& strings) {
  Records out;
  out.Add(biff::kBof, Bof(kSheetKind));
  std::string dimensions;
  Put32(dimensions, static_cast<std::uint32_t>(sheet.first_row()));
  Put32(dimensions, static_cast<std::uint32_t>(sheet.last_row()));
  Put16(dimensions, static_cast<std::uint16_t>(sheet.first_col()));
  Put16(dimensions, static_cast<std::uint16_t>(sheet.last_col()));
  Put16(dimensions, 0);
  out.Add(biff::kDimensions, dimensions);
  std::string window;
  Put16(window, selected ? 0x06B6 : 0x00B6);  // grid, headers, zeros; the first tab selected
  for (const std::uint16_t value : {0, 0, 0x40, 0, 0, 0, 0, 0}) Put16(window, value);
  out.Add(biff::kWindow2, window);
  for (const WorkbookSheet::Cell& cell : sheet.cells()) {
    if (cell.type != XlsCellType::kString) continue;
    std::string body;
    Put16(body, static_cast<std::uint16_t>(cell.row));
    Put16(body, static_cast<std::uint16_t>(cell.col));
    Put16(body, kCellXf);
    Put32(body, strings.Index(sheet.StringOf(cell)));
    strings.CountUse();
    out.Add(biff::kLabelSst, body);
  }
  out.Add(biff::kEof, {});
  return std::move(out.bytes());
}

struct GObjectUnref {
  void operator()(void* object) const {
    if (object != nullptr) g_object_unref(object);
  }
};

}  // namespace

std::string XlsWorkbookStream(const WorkbookContent& content) {
  SharedStrings strings;
  std::vector<std::string> sheets;
  for (std::size_t i = 0; i < content.sheets.size(); ++i) {
    sheets.push_back(SheetStream(*content.sheets[i], i == 0, strings));
  }
  Records globals;
  globals.Add(biff::kBof, Bof(kGlobalsKind));
  std::string code_page;
  Put16(code_page, kUnicodeCodePage);
  globals.Add(biff::kCodePage, code_page);
  std::string window;
  for (const std::uint16_t value : {0, 0, 0x25BC, 0x1572, 0x38, 0, 0, 1, 0x258})
    Put16(window, value);
  globals.Add(biff::kWindow1, window);
  std::string date_mode;
  Put16(date_mode, content.date_system == DateSystem::k1904 ? 1 : 0);
  globals.Add(biff::kDateMode, date_mode);
  // Four fonts (Excel numbers them 0 to 3, then 5 on): 10 pt Arial.
  std::string font;
  for (const std::uint16_t value : {200, 0, 0x7FFF, 400, 0, 0, 0}) Put16(font, value);
  font += ShortString(u"Arial");
  for (int i = 0; i < 4; ++i) globals.Add(biff::kFont, font);
  std::string style_xf, cell_xf;
  PutHex(style_xf, "00000000F5FF200000000000000000000000C020");
  PutHex(cell_xf, "000000000100200000000000000000000000C020");
  for (int i = 0; i < kStyleXfs; ++i) globals.Add(biff::kXf, style_xf);
  globals.Add(biff::kXf, cell_xf);
  std::string style;
  PutHex(style, "008000FF");  // the built-in Normal style on the first format
  globals.Add(biff::kStyle, style);
  std::vector<std::size_t> offsets;  // where each BOUNDSHEET's stream position goes
  for (const auto& sheet : content.sheets) {
    offsets.push_back(globals.size() + 4);
    std::string body;
    Put32(body, 0);
    Put16(body, 0);  // visible worksheet
    body += ShortString(sheet->name());
    globals.Add(biff::kBoundSheet, body);
  }
  strings.Write(globals);
  globals.Add(biff::kEof, {});
  std::string stream = std::move(globals.bytes());
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    std::string position;
    Put32(position, static_cast<std::uint32_t>(stream.size()));
    stream.replace(offsets[i], 4, position);
    stream += sheets[i];
  }
  return stream;
}

bool WriteXls(const WorkbookContent& content, const std::filesystem::path& file,
              std::string* error) {
  static std::once_flag init;
  std::call_once(init, [] { gsf_init(); });
  const std::string stream = XlsWorkbookStream(content);
  GError* failure = nullptr;
  std::unique_ptr<GsfOutput, GObjectUnref> sink(gsf_output_stdio_new(file.c_str(), &failure));
  if (sink == nullptr) {
    *error = std::string("libgsf: ") +
             (failure != nullptr ? failure->message : "cannot create the file");
    if (failure != nullptr) g_error_free(failure);
    return false;
  }
  std::unique_ptr<GsfOutfile, GObjectUnref> container(gsf_outfile_msole_new(sink.get()));
  std::unique_ptr<GsfOutput, GObjectUnref> workbook(
      container ? gsf_outfile_new_child(container.get(), "Workbook", FALSE) : nullptr);
  bool ok = workbook != nullptr &&
            gsf_output_write(workbook.get(), stream.size(),
                             reinterpret_cast<const guint8*>(stream.data())) &&
            gsf_output_close(workbook.get());
  ok = container != nullptr && gsf_output_close(GSF_OUTPUT(container.get())) && ok;
  // Closing the container closes the file too, unless it failed first.
  if (!gsf_output_is_closed(sink.get())) ok = gsf_output_close(sink.get()) && ok;
  if (!ok) {
    const GError* why = sink ? gsf_output_error(sink.get()) : nullptr;
    *error =
        std::string("libgsf: ") + (why != nullptr ? why->message : "cannot write the workbook");
  }
  return ok;
}

}  // namespace velmora::spreadsheet
