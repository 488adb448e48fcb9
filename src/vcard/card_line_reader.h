// The line layer of the vCard reader: lines, property lines with their
// group, name, parameters and raw value, and the continuation lines that
// belong to them (folded parameters, folded plain values, quoted-printable
// soft line breaks, multi-line base64 data).
//
// It works on zero-terminated content (a document's buffer is always followed
// by a zero byte) through a cursor it advances; a zero byte inside the
// content ends the text. No scan ever steps over a zero byte, so whatever the
// bytes, nothing is read outside the buffer.
#pragma once

#include <cstdint>

#include "foundation/log.h"
#include "vcard/card_doc_item_prop.h"
#include "vcard/card_param_arena.h"

namespace velmora::vcard {

class CardParserLL {
 public:
  // GetNextLine flags.
  static constexpr unsigned kSkipEmptyLines = 1;
  static constexpr unsigned kSkipLeadingBlanks = 2;

  // Reads content that ends with a zero byte at `end`; parameters go to
  // `arena`.
  CardParserLL(CLog& log, CardParamArena& arena, const char* end)
      : log_(log), arena_(arena), end_(end) {}

  // The next line at `cursor`: its start and length without the line break
  // (CR LF, a lone LF or a lone CR), the cursor moved past the break. False at
  // the end of the text (a zero byte); with kSkipEmptyLines also when only
  // empty lines remain.
  bool GetNextLine(const char*& cursor, const char*& start, std::int32_t& length,
                   unsigned flags) const;

  // Reads the next property into `prop` (replacing its content) and moves the
  // cursor past it and past the blank lines after it. Lines that are not
  // properties (no name, no ':') are logged and skipped. False at the end of
  // the text.
  bool GetNextProp(const char*& cursor, CCardDocItemProp& prop);

 private:
  // Parameters from the ';' at `*colon` up to the ':' (reading continuation
  // lines that start with a space); on success `*colon` is the ':'. On
  // failure the cursor is past the rejected lines.
  bool GetPropParams(const char* line, const char** colon, const char*& cursor,
                     CCardDocItemProp& prop);
  // The raw value after the ':' at `colon`, with its continuation lines; the
  // cursor moves past them.
  void GetPropValue(const char* colon, const char*& cursor, CCardDocItemProp& prop);
  // An END property read from "END:VCARDBEGIN:VCARD" is cut after "VCARD",
  // the cursor set to "BEGIN"; true when it was.
  static bool SplitJoinedEnd(CCardDocItemProp& prop, const char*& cursor);
  // The end of a plain value from `value_start`, lines starting with a space
  // included; the cursor moves past its line break.
  const char* PlainValueEnd(const char* value_start, const char*& cursor) const;
  // The text of a rejected line for the log: the line itself from level 2,
  // a placeholder below, so that nothing is copied when nobody reads it.
  void LogRejectedLine(const char* format, const char* begin, const char* end);

  CLog& log_;
  CardParamArena& arena_;
  const char* end_;
};

}  // namespace velmora::vcard
