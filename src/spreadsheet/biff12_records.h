// BIFF12, the record format of .xlsb parts: each record a type and a size,
// both variable-length integers of 7 bits per byte (the type in one or two
// bytes, the size in one to four), then the body. The stream reader takes
// a part piece by piece as the zip inflates it and hands each complete
// record on, so a sheet is never held whole.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace velmora::spreadsheet::biff12 {

enum Record : std::uint32_t {
  kRowHeader = 0,
  kCellBlank = 1,
  kCellRk = 2,
  kCellError = 3,
  kCellBool = 4,
  kCellReal = 5,
  kCellString = 6,
  kCellSharedString = 7,
  kFormulaString = 8,
  kFormulaNumber = 9,
  kFormulaBool = 10,
  kFormulaError = 11,
  kSharedStringItem = 19,
  kFormat = 44,
  kXf = 47,
  kWorkbookProperties = 153,
  kBundleSheet = 156,
  kBeginCellXfs = 617,
  kEndCellXfs = 618,
};

// Bodies read with bounds: a read past the end sets failed() and gives 0
// or an empty text.
class RecordBody {
 public:
  explicit RecordBody(std::string_view body) : body_(body) {}
  std::uint8_t U8();
  std::uint16_t U16();
  std::uint32_t U32();
  double Double();
  // XLWideString: a 32-bit count, then that many UTF-16 units. Longer than
  // `max_units` fails. The nullable kind marks null with 0xFFFFFFFF.
  std::u16string WideString(std::uint32_t max_units, bool nullable = false);
  void Skip(std::size_t bytes);
  bool failed() const { return failed_; }

 private:
  bool Take(std::size_t bytes);
  std::string_view body_;
  std::size_t at_ = 0;
  bool failed_ = false;
};

class RecordStream {
 public:
  // `handler` gets each record; returning false stops the stream.
  using Handler = std::function<bool(std::uint32_t type, std::string_view body)>;
  RecordStream(std::uint32_t max_record, Handler handler)
      : max_record_(max_record), handler_(std::move(handler)) {}

  // False once a record is larger than the limit or the handler stopped.
  bool Feed(std::string_view piece);
  // False when the part ends inside a record.
  bool Finish() const { return ok_ && pending_ == buffer_.size(); }
  const std::string& error() const { return error_; }

 private:
  std::uint32_t max_record_;
  Handler handler_;
  std::string buffer_;
  std::size_t pending_ = 0;  // start of the first incomplete record
  bool ok_ = true;
  std::string error_;
};

}  // namespace velmora::spreadsheet::biff12
