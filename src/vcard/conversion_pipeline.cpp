#include "vcard/conversion_pipeline.h"

#include <new>

#include "contact/card_fields.h"
#include "contact/card_names.h"
#include "foundation/code_page.h"
#include "foundation/file_system.h"
#include "foundation/system_settings.h"
#include "foundation/text_util.h"
#include "vcard/card_export.h"
#include "vcard/card_parser.h"
#include "vcard/card_version.h"

namespace velmora::vcard {
namespace {

constexpr char kItemLabel[] = "CCardConverter.OnParsedItem";
constexpr char kFileLabel[] = "CCardConverter.ConvertFile";
constexpr char kMemoryLabel[] = "CCardConverter.ConvertMemory";

}  // namespace

// One conversion run: the document's load callback. Each item is either
// copied as it stands or parsed and written anew.
class CCardConverter::Run : public ICardLoadProgress {
 public:
  Run(CCardConverter& owner, int version, int code_page, std::string_view iso_name,
      std::string* text, std::vector<std::string>* list, const Progress& progress,
      std::vector<std::string>* sources = nullptr)
      : owner_(owner),
        parser_(owner.log_, &owner.charsets_),
        exporter_(owner.log_, owner.prodid_line_),
        version_(version),
        code_page_(code_page),
        iso_name_(iso_name),
        text_(text),
        list_(list),
        sources_(sources),
        utf8_target_(code_page == codepage::kUtf8 || text::EqualsAsciiNoCase(iso_name, "utf-8")),
        progress_(progress) {}

  int converted = 0;
  int copied = 0;
  int errors = 0;

  CCardParser& parser() { return parser_; }

  bool OnCardLoaded(const CCardDocItem& item) override {
    try {
      current_ = &item;
      // What the card loses is reported only when it is written anew.
      CCardEventScope card(owner_.log_.events(), converted + copied + errors + 1);
      if (Copyable(item) && Copy(item.ToString())) {
        ++copied;
      } else {
        const contact::ContactRecord& record =
            parser_.ParseItem(item, {.keep_source_text = true, .collect_charsets = true});
        if (record.Version == version_ && record.SourceCopyable &&
            text::EqualsAsciiNoCase(record.Charsets, iso_name_) && Copy(record.SourceText)) {
          ++copied;
        } else {
          if (owner_.log_.events().listening()) {
            owner_.log_.events().SetCardName(contact::ComposeFullName(record));
          }
          if (!Convert(record)) return true;  // refused by the writer: counted, no progress call
          card.Commit();
        }
      }
    } catch (const std::bad_alloc&) {
      owner_.log_.LogError(kItemLabel, E_OUTOFMEMORY, "Out of memory");
      return false;
    }
    return progress_ ? progress_(converted, copied, errors) : true;
  }

 private:
  // The common copy case decided without building a record: the item is in
  // the target version, every text property is in the target charset, and
  // nothing would make its text differ from its record (content re-encoded
  // on loading, Skype properties that the parser rewrites). Anything else
  // goes through the parser, which decides exactly.
  bool Copyable(const CCardDocItem& item) const {
    if (item.ContentIsUtf8()) return false;
    const bool v30 = item.GetVersion() >= 3.0;
    if (VersionTimesTen(item.GetVersion()) != version_) return false;
    const contact::CCardFields& fields = contact::CCardFields::Get();
    bool any_text = false;
    for (const CCardDocItemProp& prop : item.props()) {
      if (text::StartsWithAsciiNoCase(prop.name(), "X-SKYPE")) return false;
      const contact::PropertyDef* def = fields.FindByName(prop.name());
      if (def == nullptr || !def->Has(contact::fkText)) continue;
      std::string_view charset;
      if (const CCardDocItemPropParam* param = prop.FindCharsetParam()) {
        charset = param->GetValueTrimmed();
      }
      if (charset.empty()) {
        if (!v30) return false;  // the ANSI code page's number never names a charset
        charset = "utf-8";
      }
      if (!text::EqualsAsciiNoCase(charset, iso_name_)) return false;
      if (!prop.ValueMatchesDeclaredCharset()) return false;  // e.g. Latin-1 in 3.0
      any_text = true;
    }
    return any_text;
  }

  // Appends a card that is already in the target form, its line ends made
  // CR LF like those of the cards written anew. False, and nothing appended,
  // when its bytes would not be what a UTF-8 target promises (bytes of
  // another charset, a fold inside a character): the card is then written
  // anew.
  bool Copy(std::string_view card) {
    if (utf8_target_ && !codepage::IsValidUtf8(card)) return false;
    if (!HasOtherLineEnds(card)) {
      Append(card);
      return true;
    }
    crlf_.clear();
    for (std::size_t i = 0; i < card.size(); ++i) {
      const char c = card[i];
      if (c != '\r' && c != '\n') {
        crlf_.push_back(c);
        continue;
      }
      // CR LF, CR CR LF (a text-mode copy of CR LF), a lone CR or LF: one
      // line end each.
      if (c == '\r' && i + 1 < card.size() && card[i + 1] == '\r' && i + 2 < card.size() &&
          card[i + 2] == '\n') {
        i += 2;
      } else if (c == '\r' && i + 1 < card.size() && card[i + 1] == '\n') {
        ++i;
      }
      crlf_.append("\r\n");
    }
    Append(crlf_);
    return true;
  }

  // True when some line of `card` ends otherwise than with CR LF.
  static bool HasOtherLineEnds(std::string_view card) {
    for (std::size_t i = 0; i < card.size(); ++i) {
      if (card[i] == '\n' && (i == 0 || card[i - 1] != '\r')) return true;
      if (card[i] == '\r' && (i + 1 == card.size() || card[i + 1] != '\n')) return true;
    }
    return false;
  }

  void Append(std::string_view card) {
    if (text_ != nullptr) {
      if (!text_->empty()) text_->append("\r\n");
      text_->append(card);
    }
    if (list_ != nullptr) list_->emplace_back(card);
    if (sources_ != nullptr) sources_->push_back(current_->ToStringWithOrigin());
  }

  bool Convert(const contact::ContactRecord& record) {
    if (text_ == nullptr && list_ == nullptr) {
      ++converted;
      return true;
    }
    const char* bytes = nullptr;
    std::size_t length = 0;
    if (exporter_.ExportContact(&record, version_, code_page_, iso_name_, &bytes, &length) < 0) {
      ++errors;
      return false;
    }
    std::string_view card(bytes, length);
    while (!card.empty() && (card.back() == '\r' || card.back() == '\n')) card.remove_suffix(1);
    if (card.empty()) {
      owner_.log_.LogAssert(false, kItemLabel, __LINE__);
    } else {
      Append(card);
    }
    ++converted;
    return true;
  }

  CCardConverter& owner_;
  CCardParser parser_;
  CCardExport exporter_;
  int version_;
  int code_page_;
  std::string iso_name_;
  std::string* text_;
  std::vector<std::string>* list_;
  std::vector<std::string>* sources_;
  const CCardDocItem* current_ = nullptr;  // the item being handled
  bool utf8_target_;
  std::string crlf_;  // a copied card with its line ends made CR LF
  const Progress& progress_;
};

CCardConverter::CCardConverter(CLog& log, const CCharConverter& charsets, std::string prodid_line)
    : log_(log), charsets_(charsets), prodid_line_(std::move(prodid_line)) {}

CCardConverter::~CCardConverter() = default;

HRESULT CCardConverter::ConvertFile(const std::filesystem::path& source, int version, int code_page,
                                    std::string_view iso_name,
                                    const std::filesystem::path& destination, bool skip_file_copy,
                                    int* converted, int* copied, int* errors,
                                    const Progress& progress) {
  if (source.empty() || destination.empty()) {
    log_.LogAssert(false, kFileLabel, __LINE__);
    return E_GENERIC_FAILURE;
  }
  std::string text;
  Run run(*this, version, code_page, iso_name, &text, nullptr, progress);
  auto report = [&](HRESULT result) {
    if (converted) *converted = run.converted;
    if (copied) *copied = run.copied;
    if (errors) *errors = run.errors;
    return result;
  };

  auto doc = run.parser().NewDocument();
  doc->set_keep_items(false);  // each card is done with once written
  const HRESULT loaded = doc->LoadFromFile(source, &run);
  if (loaded == LoadResultStatus(LoadResult::kNoItem)) {
    // The reader logs what it rejected, but an empty or card-less file
    // would otherwise fail without a word.
    log_.LogError(kFileLabel, E_GENERIC_FAILURE, "No complete vCard in %s", source.string());
  }
  if (loaded != S_OK) return report(loaded);

  if (run.converted > 0) {
    files::FileStep step = files::FileStep::kNone;
    const HRESULT written = files::WriteFileReplacing(destination, text, &step);
    if (FAILED(written)) {
      log_.LogError(
          kFileLabel, written,
          step == files::FileStep::kCreate ? "CreateFile(%s) failed" : "WriteFile(%s) failed",
          destination.string());
    }
    return report(FAILED(written) ? written : S_OK);
  }
  // One file only by identity (device and inode): paths differing in case
  // name two files here.
  const bool same = files::SameFile(source, destination);
  if (run.copied > 0) {
    // Every card already is in the target form: the file is the result.
    if (same) return report(S_OK);
    if (skip_file_copy) return report(S_FALSE);
    const HRESULT status = files::CopyFileReplacing(source, destination);
    if (FAILED(status)) {
      log_.LogError(kFileLabel, status, "CopyFile(%s) failed", destination.string());
      return report(status);
    }
    return report(S_OK);
  }
  return report(same ? S_OK : S_FALSE);
}

HRESULT CCardConverter::ConvertMemory(std::string_view source, int version, int code_page,
                                      std::string_view iso_name, std::string* text,
                                      std::vector<std::string>* list, int* converted, int* copied,
                                      int* errors, const Progress& progress,
                                      std::vector<std::string>* sources) {
  // A zero first byte is an empty text, unless a byte follows it: then it
  // is UTF-16 big-endian without a mark, which is decoded below as a file's.
  const bool empty_text =
      source.empty() || (source[0] == '\0' && (source.size() < 2 || source[1] == '\0'));
  if (empty_text || source.size() > static_cast<std::size_t>(CCardDoc::kMaxContentLength)) {
    log_.LogAssert(false, kMemoryLabel, __LINE__);
    return E_GENERIC_FAILURE;
  }
  if (text != nullptr) text->clear();
  if (list != nullptr) list->clear();
  if (sources != nullptr) sources->clear();
  Run run(*this, version, code_page, iso_name, text, list, progress, sources);
  auto doc = run.parser().NewDocument();
  doc->set_keep_items(false);
  // Byte-order marks and UTF-16 are decoded as for files: a buffer handed
  // over in memory is the same text a file would hold.
  const LoadResult loaded = doc->Load(source.data(), static_cast<std::int32_t>(source.size()),
                                      {.decode_content = true, .progress = &run});
  if (converted) *converted = run.converted;
  if (copied) *copied = run.copied;
  if (errors) *errors = run.errors;
  if (loaded == LoadResult::kNoItem) {
    log_.LogError(kMemoryLabel, E_GENERIC_FAILURE, "No complete vCard in %d bytes", source.size());
  }
  if (loaded != LoadResult::kComplete) return LoadResultStatus(loaded);
  return run.converted > 0 ? S_OK : S_FALSE;
}

}  // namespace velmora::vcard
