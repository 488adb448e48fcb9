#include "spreadsheet/xlsx_writer.h"

#include <system_error>
#include <vector>

#include <velmora/unicode.h>

#include <minizip/unzip.h>
#include <minizip/zip.h>
#include <xlsxwriter.h>

#include "foundation/file_system.h"
#include "foundation/text_format.h"
#include "foundation/text_util.h"
#include "spreadsheet/ooxml_text.h"

namespace velmora::spreadsheet {
namespace {

constexpr char kContentTypes[] = "[Content_Types].xml";
constexpr std::string_view kWorkbookType =
    "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml";
constexpr std::string_view kMacroEnabledType =
    "application/vnd.ms-excel.sheet.macroEnabled.main+xml";

bool WritePackage(const WorkbookContent& content, const std::filesystem::path& file,
                  std::string* error) {
  lxw_workbook_options options = {};
  lxw_workbook* book = workbook_new_opt(file.c_str(), &options);
  if (book == nullptr) {
    *error = "libxlsxwriter: cannot create the workbook";
    return false;
  }
  lxw_error failed = LXW_NO_ERROR;
  for (const auto& sheet : content.sheets) {
    lxw_worksheet* out = workbook_add_worksheet(book, Utf16ToUtf8(sheet->name()).c_str());
    if (out == nullptr) {
      failed = LXW_ERROR_PARAMETER_VALIDATION;
      break;
    }
    for (const WorkbookSheet::Cell& cell : sheet->cells()) {
      if (cell.type != XlsCellType::kString) continue;
      failed = worksheet_write_string(
          out, cell.row, static_cast<lxw_col_t>(cell.col),
          Utf16ToUtf8(EscapeOoxmlLookalikes(sheet->StringOf(cell))).c_str(), nullptr);
      if (failed != LXW_NO_ERROR) break;
    }
    if (failed != LXW_NO_ERROR) break;
  }
  const lxw_error closed = workbook_close(book);
  if (failed == LXW_NO_ERROR) failed = closed;
  if (failed != LXW_NO_ERROR) {
    *error = FormatUtf8("libxlsxwriter: %s", lxw_strerror(failed));
    return false;
  }
  return true;
}

// Copies the package `from` to `to` with the workbook's content type made
// the macro-enabled one.
bool MakeMacroEnabled(const std::filesystem::path& from, const std::filesystem::path& to,
                      std::string* error) {
  unzFile in = unzOpen64(from.c_str());
  if (in == nullptr) {
    *error = "cannot reopen the written package";
    return false;
  }
  zipFile out = zipOpen64(to.c_str(), APPEND_STATUS_CREATE);
  bool ok = out != nullptr;
  std::vector<char> name(65536);
  std::vector<char> buffer(1 << 16);
  for (int status = unzGoToFirstFile(in); ok && status == UNZ_OK; status = unzGoToNextFile(in)) {
    unz_file_info64 info{};
    ok = unzGetCurrentFileInfo64(in, &info, name.data(), name.size(), nullptr, 0, nullptr, 0) ==
         UNZ_OK;
    if (!ok) break;
    zip_fileinfo file_info{};
    file_info.dosDate = info.dosDate;
    const bool types = std::string_view(name.data()) == kContentTypes;
    int method = 0, level = 0;
    ok = unzOpenCurrentFile2(in, &method, &level, types ? 0 : 1) == UNZ_OK;
    if (!ok) break;
    std::string data;
    for (int n;
         (n = unzReadCurrentFile(in, buffer.data(), static_cast<unsigned>(buffer.size()))) > 0;) {
      data.append(buffer.data(), static_cast<std::size_t>(n));
    }
    ok = unzCloseCurrentFile(in) == UNZ_OK;
    if (!ok) break;
    if (types) {
      data = Utf16ToUtf8(text::ReplaceAll(Utf8ToUtf16(data), Utf8ToUtf16(kWorkbookType),
                                          Utf8ToUtf16(kMacroEnabledType)));
      ok = zipOpenNewFileInZip64(out, name.data(), &file_info, nullptr, 0, nullptr, 0, nullptr,
                                 Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
           zipWriteInFileInZip(out, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK &&
           zipCloseFileInZip(out) == ZIP_OK;
    } else {
      ok = zipOpenNewFileInZip2_64(out, name.data(), &file_info, nullptr, 0, nullptr, 0, nullptr,
                                   method, level, 1, 0) == ZIP_OK &&
           zipWriteInFileInZip(out, data.data(), static_cast<unsigned>(data.size())) == ZIP_OK &&
           zipCloseFileInZipRaw64(out, info.uncompressed_size, info.crc) == ZIP_OK;
    }
  }
  unzClose(in);
  if (out != nullptr && zipClose(out, nullptr) != ZIP_OK) ok = false;
  if (!ok) *error = "cannot write the macro-enabled package";
  return ok;
}

}  // namespace

bool WriteXlsx(const WorkbookContent& content, const std::filesystem::path& file,
               bool macro_enabled, std::string* error) {
  if (!macro_enabled) return WritePackage(content, file, error);
  const std::filesystem::path plain = files::TemporarySibling(file);
  const bool written = WritePackage(content, plain, error) && MakeMacroEnabled(plain, file, error);
  std::error_code ec;
  std::filesystem::remove(plain, ec);
  return written;
}

}  // namespace velmora::spreadsheet
