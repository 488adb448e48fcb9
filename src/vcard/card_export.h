// The vCard writer: one contact record as one vCard 2.1 or 3.0 item, in a
// chosen code page and charset name, with CR LF line ends.
//
// This file decides which record fields become which properties, and in what
// fixed order; how each line is spelt is CardLineWriter's (card_line_writer.h).
// The exporter keeps one output buffer that every call reuses: the text of
// the last contact stays valid until the next call. Labelled list elements get
// "item<n>." groups numbered per contact, each followed by its X-ABLABEL line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <velmora/status.h>

#include "contact/contact_record.h"
#include "foundation/log.h"
#include "vcard/card_line_writer.h"

namespace velmora::vcard {

class CCardExport {
 public:
  // Capacity of the output buffer when none (or less than
  // kMinInitialBufferSize) is asked for, and the step it grows by.
  static constexpr std::size_t kBufferStep = CardLineWriter::kBufferStep;
  static constexpr std::size_t kMinInitialBufferSize = CardLineWriter::kMinInitialBufferSize;

  // `prodid_line` is the whole PRODID line written into 3.0 items (without
  // line end); empty selects the library's own line (DefaultProdIdLine).
  explicit CCardExport(CLog& log, std::string_view prodid_line = {},
                       std::size_t initial_buffer_size = 0);
  ~CCardExport();
  CCardExport(const CCardExport&) = delete;
  CCardExport& operator=(const CCardExport&) = delete;

  // Writes `record` as one item. `version` is 21 or 30 (times ten; anything
  // else is written as 3.0 and logged); `code_page` is the target code page
  // (0: the ANSI code page) and `charset` the name written in CHARSET
  // parameters (empty: none). On success `*out_text` designates the
  // zero-terminated output held by the exporter and `*out_length` (when
  // given) its byte count; returns S_OK. Returns E_GENERIC_FAILURE, with a
  // log line, when the record or `out_text` is missing, when the code page
  // cannot be converted to, or when memory runs out; the outputs are then
  // null and 0.
  HRESULT ExportContact(const contact::ContactRecord* record, int version, int code_page,
                        std::string_view charset, const char** out_text, std::size_t* out_length);

  const std::string& prodid_line() const { return prodid_; }
  // The current capacity of the output buffer in bytes.
  std::size_t buffer_capacity() const { return out_.capacity(); }

  // "PRODID:-//Zorva Corporation//Lumbrix <major>.<minor>//EN" with the
  // library's own file version.
  static std::string DefaultProdIdLine();

 private:
  // Lines in item order.
  void addVERSION(int version);
  void addNames();
  void addTEL();
  void addADRs();
  void addURLs();
  void addBDAY();
  void addEMAILs();
  void addIMPPs();
  void addDATEs();
  void addRELATEDNAMEs();
  void addCATEGORIES();
  void addREV();
  void addUID();
  void addCLASS();
  void addX_MS_TEXT();
  void addCUSTOM_FIELDs();
  void addX_SOCIALPROFILEs();
  void addX_ZORVA_OL();
  void addPHOTO();

  // "<group>NAME;CHARSET;TYPE...:value" and, for a `label`, the group's
  // X-ABLABEL line; no group without a label.
  void addLabelled(std::string_view name, std::u16string_view label, std::u16string_view types,
                   std::u16string_view value);
  // A property with charset parameter and single value, when `value` is not
  // blank.
  void addSimple(std::string_view name, std::u16string_view value);
  // A list value (3.0): `text` split at the user's list separator, the
  // pieces trimmed, escaped and joined with commas.
  void addList(std::string_view name, std::u16string_view text);

  CLog& log_;
  std::string prodid_;

  // Per call.
  const contact::ContactRecord* record_ = nullptr;

  CardLineWriter out_;
  // Reused for the base64 text of photos.
  std::string photo_;
};

}  // namespace velmora::vcard
