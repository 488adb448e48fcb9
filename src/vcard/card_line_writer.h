// How a vCard property line is written: the output buffer and its growth,
// conversion to the target code page, CHARSET and TYPE parameters, "item<n>."
// groups with their X-ABLABEL lines, and the value in quoted-printable (2.1)
// or with 3.0 escapes. Which record fields become which properties, and in
// what order, is the exporter's business (card_export.h).
#pragma once

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include <velmora/status.h>

#include "foundation/log.h"

namespace velmora::vcard {

// Writes the 3.0 text escapes of `bytes` to the end of `out`: "\" (when
// `escape_backslash`), "," and line breaks (CR LF, CR or LF become "\n").
void AppendEscaped30(std::string_view bytes, bool escape_backslash, std::string& out);

class CardLineWriter {
 public:
  // The step the output buffer grows by, and its first capacity unless a
  // larger one (at least kMinInitialBufferSize) is asked for.
  static constexpr std::size_t kBufferStep = 102400;
  static constexpr std::size_t kMinInitialBufferSize = 256;
  // Conversion and memory failures end the exporter's call and are logged
  // under its label; a code page that text cannot go to is this status.
  static constexpr std::string_view kFailureLabel = "CCardExport.ExportContact";
  static constexpr HRESULT kBadCodePage = HRESULT_FROM_WIN32(win32::ERROR_INVALID_PARAMETER);

  CardLineWriter(CLog& log, std::size_t initial_buffer_size);
  ~CardLineWriter();
  CardLineWriter(const CardLineWriter&) = delete;
  CardLineWriter& operator=(const CardLineWriter&) = delete;

  // Starts an empty item: vCard 3.0 rules when `v30`, else 2.1; text goes
  // out in `code_page`, and `charset` (empty: none) names it in CHARSET
  // parameters. Group numbers start again at 1.
  void Begin(bool v30, int code_page, std::string_view charset);
  // Zero-terminates the item and returns it; null after a failure.
  const char* Finish(std::size_t* length);

  bool v30() const { return v30_; }
  // Once a conversion or an allocation has failed, every further call writes
  // nothing and the item is lost.
  bool failed() const { return failed_; }
  void Fail() { failed_ = true; }
  std::size_t capacity() const { return capacity_; }

  void Put(std::string_view bytes);
  void PutCrlf() { Put("\r\n"); }
  // "item<n>." before a labelled property; `group` receives it (empty when
  // `label` is empty and no group is written).
  void PutGroup(std::u16string_view label, std::string& group);
  // The "<group>X-ABLABEL" line that follows a grouped property.
  void PutLabel(const std::string& group, std::u16string_view label);
  void PutCharset();
  void PutType(std::string_view type);
  // Comma-separated type words, each written as PutType writes it.
  void PutTypes(std::u16string_view types);
  // ":" and the value with its line end: quoted-printable in 2.1 when a
  // byte needs it (or always with `force_qp`), escaped in 3.0.
  void PutValue(std::u16string_view value, bool force_qp = false);
  // Structured value: the components joined with ";", their own "\" and ";"
  // escaped.
  void PutValues(std::initializer_list<std::u16string_view> components);

  // Converts to the target code page; a failure fails the whole item.
  bool ToTarget(std::u16string_view text, std::string& out);

 private:
  void PutEncoded(std::string_view bytes, bool single, bool force_qp);
  void PutEscaped30(std::string_view bytes, bool escape_backslash);
  bool Reserve(std::size_t extra);

  CLog& log_;

  // Per item.
  bool v30_ = true;
  int code_page_ = 0;
  std::string charset_;
  int item_counter_ = 0;
  bool failed_ = false;

  // Output buffer, zero-terminated by Finish.
  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = kBufferStep;
  std::size_t allocated_ = 0;
  std::size_t length_ = 0;

  // Reused scratch space.
  std::u16string wide_;
  std::string narrow_;
  std::string types_;
  std::string encoded_;
};

}  // namespace velmora::vcard
