// Turns the items of a vCard document into contact records.
//
// The parser is the document's load callback: the document reports each
// item as soon as it is complete, the parser fills its one record from the
// item's properties (values decoded by the document layer) and hands it to
// its consumer. Properties the record cannot hold, duplicates and malformed
// values are logged under "CCardParser.<method>" and dropped; a record is
// always delivered for every item.
//
// A parser serves one load at a time and is used from one thread.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <velmora/status.h>

#include "contact/card_fields.h"
#include "contact/contact_record.h"
#include "foundation/log.h"
#include "vcard/card_charset_table.h"
#include "vcard/card_doc.h"
#include "vcard/card_doc_item.h"
#include "vcard/card_doc_item_prop.h"
#include "vcard/card_load_progress.h"
#include "vcard/card_parser_consumer.h"

namespace velmora {
class CCharConverter;
}  // namespace velmora

namespace velmora::vcard {

// What a load does with each item.
enum class ParseMode : int {
  kConvert = 0,  // parse it and deliver its record
  kCollect = 1,  // only collect its text
};

// The options of one load; they hold for that load only.
struct ParseOptions {
  ParseMode mode = ParseMode::kConvert;
  // Told of each record (convert) or item (collect); may be null.
  ICardParserConsumer* consumer = nullptr;
  // Convert mode: keep each item's text in the record's SourceText.
  bool keep_source_text = false;
  // Convert mode: collect the charsets the item's text values declare.
  bool collect_charsets = false;
  // Convert mode: only properties whose code is in the filter are read
  // (structural ones always); null reads everything. Must outlive the load.
  const contact::FieldFilter* filter = nullptr;
  // At most this many items are delivered (collected); 0 or less: no limit.
  int maximum = 0;
  // Collect mode appends each item's text here (may be null).
  std::vector<std::string>* texts = nullptr;
};

class CCardParser : public ICardLoadProgress {
 public:
  // `document_charsets` are handed to the documents the parser creates
  // (the supported encodings' pairs, CCharConverter::DocumentCharsetPairs).
  explicit CCardParser(CLog& log, CharsetPairs document_charsets = {});
  CCardParser(CLog& log, const CCharConverter* converter);
  CCardParser(const CCardParser&) = delete;
  CCardParser& operator=(const CCardParser&) = delete;
  virtual ~CCardParser() = default;

  // --- Loading ------------------------------------------------------------
  // A new document with the parser's charset pairs.
  std::unique_ptr<CCardDoc> NewDocument() const;
  // The parser's own document (created on first use), for callers that do
  // not keep one of their own.
  CCardDoc& document();

  // Loads `data` into `doc` with the parser as its callback, handling each
  // item as `options` say, and returns the document's result (kStopped also
  // when the consumer or the maximum stopped it). The count restarts at 0.
  LoadResult LoadMemory(CCardDoc& doc, const char* data, std::int32_t length,
                        const ParseOptions& options, bool decode_content = true);
  LoadResult LoadMemory(const char* data, std::int32_t length, const ParseOptions& options,
                        bool decode_content = true) {
    return LoadMemory(document(), data, length, options, decode_content);
  }
  // The same for a file; a file that cannot be read gives its status.
  HRESULT LoadFile(CCardDoc& doc, const std::filesystem::path& file, const ParseOptions& options);
  HRESULT LoadFile(const std::filesystem::path& file, const ParseOptions& options) {
    return LoadFile(document(), file, options);
  }

  // The document's callback: handles one item as the load's options say and
  // returns whether loading goes on.
  bool OnCardLoaded(const CCardDocItem& item) override;

  // Fills record() from one item (steps of the convert mode without the
  // delivery), e.g. to parse one card again for a preview; `options` give
  // the filter, source text and charsets.
  const contact::ContactRecord& ParseItem(const CCardDocItem& item,
                                          const ParseOptions& options = {});

  // Collect mode: the texts of the first `maximum` items of `doc` (all for 0
  // or beyond the count), newest REV first, replace the content of `texts`;
  // nothing happens with fewer than two items. Convert mode does nothing;
  // other values log a trace line.
  void m_docCard_Sort(const CCardDoc& doc, ParseMode mode, int maximum,
                      std::vector<std::string>& texts);

  // --- Results ------------------------------------------------------------
  const contact::ContactRecord& record() const { return record_; }
  // Items delivered (or collected) since the last load started.
  int count() const { return count_; }
  // True when the consumer asked to stop.
  bool stopped_by_consumer() const { return stopped_by_consumer_; }
  void ResetCount() {
    count_ = 0;
    stopped_by_consumer_ = false;
  }

  CLog& log() const { return log_; }

 private:
  // ParseItem with the options in force.
  const contact::ContactRecord& ParseWithOptions(const CCardDocItem& item);

  // Per-property steps.
  void m_collectCharset(const CCardDocItemProp& prop, const contact::PropertyDef* def, bool v30);
  void m_dispatch(const CCardDocItemProp& prop, std::int32_t code);
  void m_skipUnknown(const CCardDocItemProp& prop);
  // Reports the LABELs of the card that no ADR of it says.
  void m_reportLostLabels();

  // Common handlers.
  bool m_setStr(const CCardDocItemProp& prop, std::u16string& target);
  bool m_setStrA(const CCardDocItemProp& prop, std::string& target);
  bool m_setMultiStr(const CCardDocItemProp& prop, int count, std::u16string* const* targets);
  // `to_local`: a time in UTC or with a zone offset becomes local time (for
  // instants such as REV); without it the date is kept as written (for
  // calendar dates such as birthdays).
  bool m_setDateTime(const CCardDocItemProp& prop, double& target, bool to_local);
  void m_setCategories(const CCardDocItemProp& prop);
  void m_setClass(const CCardDocItemProp& prop);
  void m_setGender(const CCardDocItemProp& prop, std::int32_t code);
  void m_setMailingAddress(const CCardDocItemProp& prop);

  // List handlers.
  void m_addAddress(const CCardDocItemProp& prop);
  void m_addDate(const CCardDocItemProp& prop);
  void m_addAnniversary(const CCardDocItemProp& prop);
  void m_addChildren(const CCardDocItemProp& prop);
  void m_addReferredBy(const CCardDocItemProp& prop);
  void m_addCustomField(const CCardDocItemProp& prop);
  bool m_setEmail(const CCardDocItemProp& prop);
  bool m_setTel(const CCardDocItemProp& prop);
  bool m_setTelX(const CCardDocItemProp& prop);
  bool m_setImpp(const CCardDocItemProp& prop);
  bool m_setImppX(const CCardDocItemProp& prop);
  bool m_setUrl(const CCardDocItemProp& prop);
  bool m_setPhoto(const CCardDocItemProp& prop);
  bool m_setRelatedName(const CCardDocItemProp& prop, EContactRelatedName label);
  bool m_setRelatedNameX(const CCardDocItemProp& prop);
  bool m_setSocialProfileX(const CCardDocItemProp& prop);
  bool m_setMsTextX(const CCardDocItemProp& prop);
  bool m_setAbLabelX(const CCardDocItemProp& prop);
  void m_fixSkypeCard();

  // Shared pieces.
  bool m_isImppDuplicate(std::string_view label, const CCardDocItemProp& prop,
                         const contact::ContactImpp& impp);
  void m_logDuplicate(std::string_view label, const CCardDocItemProp& prop);
  bool IsV30() const { return record_.Version >= 30; }
  // Decoded value without trailing white space.
  static std::u16string DecodedTrimmedRight(const CCardDocItemProp& prop);
  // The TYPE words joined with commas, as UTF-16.
  static std::u16string TypesOf(const CCardDocItemProp& prop,
                                std::vector<std::string>* list = nullptr);
  // 8-bit parameter or type text as UTF-16 (UTF-8 when valid, else ANSI).
  static std::u16string Widen(std::string_view bytes);

  CLog& log_;
  CharsetPairs document_charsets_;
  std::unique_ptr<CCardDoc> own_document_;
  contact::ContactRecord record_;
  // The LABELs of the card being parsed, while a conversion report listens.
  std::vector<std::u16string> labels_;
  // The options of the load under way (or of ParseItem's call).
  ParseOptions options_;
  int count_ = 0;
  bool stopped_by_consumer_ = false;

  // Scratch lists reused from property to property, so that their room is
  // allocated once per load rather than once per value.
  std::vector<std::u16string> parts_;
  std::vector<std::string> type_words_;
};

}  // namespace velmora::vcard
