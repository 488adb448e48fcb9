#include "automation/card_saver.h"

#include <memory>
#include <set>

#include "automation/argument_checks.h"
#include "automation/file_as_name.h"
#include "automation/file_name_rule.h"
#include "foundation/file_system.h"
#include "vcard/card_doc.h"
#include "vcard/conversion_pipeline.h"
#include "vcard/duplicate_resolution.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CComCardConverter.SaveMemory";
constexpr char16_t kExtension[] = u".vcf";
// The name of a card file when neither the card nor the caller gives one.
constexpr char16_t kFallbackName[] = u"vCard";

// The step a failed replacing write stands for: opening the file when the
// path cannot be reached, writing it otherwise.
const char* FailedStep(HRESULT status) {
  switch (status) {
    case HRESULT_FROM_WIN32(win32::ERROR_FILE_NOT_FOUND):
    case HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND):
    case HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED):
    case HRESULT_FROM_WIN32(win32::ERROR_WRITE_PROTECT):
    case HRESULT_FROM_WIN32(win32::ERROR_FILENAME_EXCED_RANGE):
    case HRESULT_FROM_WIN32(win32::ERROR_DIRECTORY):
    case HRESULT_FROM_WIN32(win32::ERROR_TOO_MANY_OPEN_FILES):
      return "CreateFile";
    default:
      return "WriteFile";
  }
}

class Saver {
 public:
  Saver(CConverterContext& context, const CardSaveRequest& request, CardSaveStats* stats,
        std::vector<std::u16string>* file_names)
      : log_(context.log()), request_(request), stats_(*stats), names_(file_names) {}

  HRESULT Run(CConverterContext& context);

 private:
  // Reports the counters; false when the caller cancelled.
  bool Report() {
    if (request_.progress == nullptr) return true;
    const std::int32_t handled = stats_.saved + stats_.skipped_all + stats_.errors;
    request_.progress->OnCardConverterProgress(handled, total_, stats_.saved, stats_.skipped_all,
                                               stats_.errors);
    return !request_.progress->IsCardConverterCancelled();
  }
  void NoteFailure(HRESULT status) {
    if (first_failure_ == S_OK) first_failure_ = status;
  }
  HRESULT SavePerCard(const std::vector<std::string>& cards, const std::vector<bool>& skip);
  HRESULT SaveSingle(const std::vector<std::string>& cards, const std::vector<bool>& skip);

  CLog& log_;
  const CardSaveRequest& request_;
  CardSaveStats& stats_;
  std::vector<std::u16string>* names_;
  FileNameCounter used_names_;
  std::int32_t total_ = 0;
  HRESULT first_failure_ = S_OK;
};

HRESULT Saver::Run(CConverterContext& context) {
  // The cards in the target version and charset, one text each.
  std::vector<std::string> cards;
  // With duplicate resolution, the texts the cards were made from: duplicates
  // are found on the cards as given, since a target charset that cannot hold
  // the names would make different contacts look alike.
  std::vector<std::string> sources;
  const bool resolve = request_.dr != drmNone;
  std::int32_t converted = 0, copied = 0, errors = 0;
  {
    vcard::CCardConverter converter(log_, *context.charsets(), context.prodid_line());
    const HRESULT status =
        converter.ConvertMemory(request_.cards, request_.target.version, request_.target.code_page,
                                request_.target.iso_name, nullptr, &cards, &converted, &copied,
                                &errors, nullptr, resolve ? &sources : nullptr);
    if (FAILED(status)) return status;
  }
  total_ = converted + copied + errors;
  stats_.errors = errors;

  std::vector<bool> skip(cards.size(), false);
  if (resolve && sources.size() > 1) skip = FindDuplicateCards(log_, sources, request_.dr);

  const HRESULT made = files::CreateFolder(request_.folder);
  if (FAILED(made)) {
    log_.LogError(kLabel, made, "EnsureDirectory");
    ++stats_.io_errors;
    NoteFailure(made);
  }
  return request_.single_file ? SaveSingle(cards, skip) : SavePerCard(cards, skip);
}

HRESULT Saver::SavePerCard(const std::vector<std::string>& cards, const std::vector<bool>& skip) {
  std::set<HRESULT> logged;  // each failure status is logged once per call
  for (std::size_t i = 0; i < cards.size(); ++i) {
    const std::string& card = cards[i];
    if (skip[i]) {
      ++stats_.skipped_all;
      ++stats_.skipped_dups;
    } else if (card.empty()) {
      log_.LogAssert(false, kLabel, __LINE__);
      ++stats_.errors;
    } else {
      std::u16string name;
      const HRESULT named = GenFileAs(log_, card, &name);
      if (FAILED(named)) {
        log_.LogError(kLabel, named, "CCardDoc::GenFileAs failed");
        NoteFailure(named);
        ++stats_.errors;
      } else {
        if (name.empty()) name = request_.base_name.empty() ? kFallbackName : request_.base_name;
        const std::filesystem::path path =
            MakeFilePath(request_.folder, name, true, kExtension, true, &used_names_);
        const HRESULT written = files::WriteFileReplacing(path, card);
        if (FAILED(written)) {
          if (logged.insert(written).second) {
            log_.LogError(kLabel, written, "%s failed", FailedStep(written));
          }
          NoteFailure(written);
          ++stats_.io_errors;
          ++stats_.errors;
        } else {
          ++stats_.saved;
          if (names_) names_->push_back(Utf16FromPath(path));
        }
      }
    }
    if (!Report()) return S_FALSE;
  }
  if (stats_.saved == 0) return FAILED(first_failure_) ? first_failure_ : E_GENERIC_FAILURE;
  return S_OK;
}

HRESULT Saver::SaveSingle(const std::vector<std::string>& cards, const std::vector<bool>& skip) {
  const std::u16string name = request_.base_name.empty() ? kFallbackName : request_.base_name;
  const std::filesystem::path path =
      MakeFilePath(request_.folder, name, true, kExtension, true, &used_names_);
  std::string content;
  bool cancelled = false;
  for (std::size_t i = 0; i < cards.size() && !cancelled; ++i) {
    const std::string& card = cards[i];
    if (skip[i]) {
      ++stats_.skipped_all;
      ++stats_.skipped_dups;
    } else {
      if (card.empty()) {
        log_.LogAssert(false, kLabel, __LINE__);
        stats_.saved = 0;
        return E_GENERIC_FAILURE;
      }
      content += card;
      if (card.back() == '\r') {
        content += '\n';
      } else if (card.back() != '\n') {
        content += "\r\n";
      }
      ++stats_.saved;
    }
    cancelled = !Report();
  }
  // One write through a temporary file: an existing file is never left
  // half-written. A cancelled run writes the cards saved until then.
  const HRESULT written = files::WriteFileReplacing(path, content);
  if (FAILED(written)) {
    log_.LogError(kLabel, written, "%s(%s) failed", FailedStep(written), path.native());
    stats_.io_errors = 1;
    stats_.saved = 0;
    return written;
  }
  if (names_) names_->push_back(Utf16FromPath(path));
  return cancelled ? S_FALSE : S_OK;
}

}  // namespace

std::vector<bool> FindDuplicateCards(CLog& log, const std::vector<std::string>& cards,
                                     EDRMethod method) {
  std::vector<bool> skip(cards.size(), false);
  std::vector<std::unique_ptr<vcard::CCardDoc>> docs;
  std::vector<vcard::DRItem> items;
  std::vector<std::size_t> owners;  // the card of each item
  for (std::size_t i = 0; i < cards.size(); ++i) {
    auto doc = std::make_unique<vcard::CCardDoc>(log);
    std::vector<vcard::DRItem> found;
    if (SUCCEEDED(vcard::ParseDRPropsFromString(log, *doc, cards[i], found)) && found.size() == 1) {
      found.front().position = static_cast<int>(i);
      items.push_back(std::move(found.front()));
      owners.push_back(i);
      docs.push_back(std::move(doc));
    }
  }
  vcard::CCardDR dr(log);
  if (dr.Run(nullptr, items, method) != S_OK) return skip;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (items[k].action == vcard::DRAction::kSkip) skip[owners[k]] = true;
  }
  return skip;
}

HRESULT SaveCards(CConverterContext& context, const CardSaveRequest& request, CardSaveStats* stats,
                  std::vector<std::u16string>* file_names) {
  *stats = CardSaveStats{};
  if (file_names) file_names->clear();
  Saver saver(context, request, stats, file_names);
  return saver.Run(context);
}

}  // namespace velmora::automation
