#include "spreadsheet/workbook.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include <velmora/unicode.h>

#include "foundation/file_system.h"
#include "foundation/text_format.h"
#include "foundation/text_util.h"
#include "spreadsheet/xls_reader.h"
#include "spreadsheet/xls_writer.h"
#include "spreadsheet/xlsb_reader.h"
#include "spreadsheet/xlsx_reader.h"
#include "spreadsheet/xlsx_writer.h"
#include "spreadsheet/zip_archive.h"

namespace velmora::spreadsheet {
namespace {

constexpr std::size_t kMaxSheetName = 31;

SheetBounds BoundsOf(WorkbookKind kind) {
  SheetBounds bounds;
  if (kind == WorkbookKind::kXls) {
    bounds.rows = 65536;
    bounds.columns = 256;
  }
  return bounds;
}

}  // namespace

WorkbookKind WorkbookKindOf(std::u16string_view file_name) {
  const std::size_t dot = file_name.rfind(u'.');
  if (dot == std::u16string_view::npos) return WorkbookKind::kNone;
  const std::u16string_view extension = file_name.substr(dot + 1);
  if (text::EqualsAsciiNoCase(extension, u"xls")) return WorkbookKind::kXls;
  if (text::EqualsAsciiNoCase(extension, u"xlsx")) return WorkbookKind::kXlsx;
  if (text::EqualsAsciiNoCase(extension, u"xlsm")) return WorkbookKind::kXlsm;
  if (text::EqualsAsciiNoCase(extension, u"xlsb")) return WorkbookKind::kXlsb;
  return WorkbookKind::kNone;
}

WorkbookKind WorkbookKindOfFile(const std::filesystem::path& file) {
  const std::u16string name = Utf8ToUtf16(file.filename().string());
  return WorkbookKindOf(std::u16string_view(name));
}

Workbook::Workbook(WorkbookKind kind, const WorkbookLimits& limits)
    : kind_(kind), limits_(limits) {}

Workbook::~Workbook() = default;

bool Workbook::Fail(std::string message) {
  error_ = std::move(message);
  return false;
}

bool Workbook::Load(const std::filesystem::path& file) { return LoadFrom(&file, {}, kAllSheets); }

bool Workbook::LoadSheet(const std::filesystem::path& file, int index) {
  if (index < 0) return Fail(FormatUtf8("no sheet %d", index));
  return LoadFrom(&file, {}, index);
}

bool Workbook::LoadBytes(std::string_view bytes, int index) {
  return LoadFrom(nullptr, bytes, index);
}

bool Workbook::LoadFrom(const std::filesystem::path* file, std::string_view bytes, int index) {
  content_ = WorkbookContent();
  error_.clear();
  std::string error;
  bool read = false;
  if (file != nullptr) {
    std::FILE* stream = std::fopen(file->c_str(), "rb");
    if (stream == nullptr)
      return Fail(FormatUtf8("cannot open the file: %s", std::strerror(errno)));
    std::fclose(stream);
  }
  if (kind_ == WorkbookKind::kXls) {
    read = file != nullptr ? ReadXls(*file, index, limits_, &content_, &error)
                           : (error = "a .xls workbook is read from a file", false);
  } else if (kind_ == WorkbookKind::kNone) {
    error = "not a workbook file name (.xls, .xlsx, .xlsm or .xlsb)";
  } else {
    ZipArchive zip(limits_);
    const bool opened =
        file != nullptr ? zip.OpenFile(*file, &error) : zip.OpenBytes(bytes, &error);
    if (opened) {
      read = kind_ == WorkbookKind::kXlsb ? ReadXlsb(zip, index, limits_, &content_, &error)
                                          : ReadXlsx(zip, index, limits_, &content_, &error);
    }
  }
  if (!read) {
    content_ = WorkbookContent();
    return Fail(error.empty() ? "the workbook cannot be read" : error);
  }
  return true;
}

WorkbookSheet* Workbook::GetSheet(int index) {
  if (index < 0 || index >= SheetCount()) return nullptr;
  return content_.sheets[static_cast<std::size_t>(index)].get();
}

bool Workbook::DateUnpack(double value, DateParts* parts) const {
  return UnpackDateNumber(value, content_.date_system, parts);
}

WorkbookSheet* Workbook::AddSheet(std::u16string_view name) {
  if (name.empty()) {
    Fail("sheet name is empty");
    return nullptr;
  }
  if (name.size() > kMaxSheetName) {
    Fail(FormatUtf8("sheet name %s is longer than %u characters", name,
                    static_cast<unsigned>(kMaxSheetName)));
    return nullptr;
  }
  if (name.find_first_of(u"[]:*?/\\") != std::u16string_view::npos) {
    Fail(FormatUtf8("sheet name %s holds one of []:*?/\\", name));
    return nullptr;
  }
  if (name.front() == u'\'' || name.back() == u'\'') {
    Fail(FormatUtf8("sheet name %s starts or ends with an apostrophe", name));
    return nullptr;
  }
  for (const auto& sheet : content_.sheets) {
    if (text::EqualsNoCase(sheet->name(), name)) {
      Fail(FormatUtf8("sheet name %s is already used", name));
      return nullptr;
    }
  }
  if (content_.sheets.size() >= limits_.max_sheets) {
    Fail("too many sheets");
    return nullptr;
  }
  content_.sheets.push_back(std::make_unique<WorkbookSheet>(std::u16string(name)));
  return content_.sheets.back().get();
}

bool Workbook::WriteStr(WorkbookSheet* sheet, int row, int col, std::u16string_view text) {
  std::string error;
  if (sheet == nullptr) return Fail("no sheet");
  if (!sheet->WriteStr(row, col, text, BoundsOf(kind_), &error)) return Fail(std::move(error));
  return true;
}

bool Workbook::Save(const std::filesystem::path& file) {
  if (kind_ == WorkbookKind::kXlsb) return Fail(kXlsbWriteRefused);
  if (kind_ == WorkbookKind::kNone) return Fail("not a workbook file name (.xls, .xlsx or .xlsm)");
  for (const auto& sheet : content_.sheets) sheet->Finish();
  const std::filesystem::path temporary = files::TemporarySibling(file);
  // Made here first, so that a folder that is missing or not writable is
  // told in the system's words before any writer runs.
  std::FILE* probe = std::fopen(temporary.c_str(), "wb");
  if (probe == nullptr) {
    return Fail(FormatUtf8("cannot create %s: %s", temporary.string(), std::strerror(errno)));
  }
  std::fclose(probe);
  std::string error;
  const bool written = kind_ == WorkbookKind::kXls
                           ? WriteXls(content_, temporary, &error)
                           : WriteXlsx(content_, temporary, kind_ == WorkbookKind::kXlsm, &error);
  std::error_code ec;
  if (!written) {
    std::filesystem::remove(temporary, ec);
    return Fail(error.empty() ? "the workbook cannot be written" : error);
  }
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return Fail(FormatUtf8("cannot replace %s: %s", file.string(), ec.message()));
  }
  return true;
}

}  // namespace velmora::spreadsheet
