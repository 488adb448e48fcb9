#include "automation/com_card_converter.h"

#include <new>
#include <string_view>
#include <utility>

#include "automation/argument_checks.h"
#include "automation/call_guard.h"
#include "automation/card_loader.h"
#include "automation/card_saver.h"
#include "automation/com_card_contact.h"
#include "automation/com_cards.h"
#include "automation/resolve_duplicates.h"
#include "automation/target_format.h"
#include "foundation/code_page.h"
#include "foundation/module_info.h"
#include "vcard/conversion_pipeline.h"

namespace velmora::automation {
namespace {

constexpr char kInitLabel[] = "CComCardConverter.Init";
constexpr char kLoadFileLabel[] = "CComCardConverter.LoadFile";
constexpr char kLoadFilesLabel[] = "CComCardConverter.LoadFiles";
constexpr char kLoadMemoryLabel[] = "CComCardConverter.LoadMemory";
constexpr char kLoadFromLabel[] = "CComCardConverter.LoadFrom";
constexpr char kCountLabel[] = "CComCardConverter.CountFilesContacts";
constexpr char kConvertMemoryLabel[] = "CComCardConverter.ConvertMemory";
constexpr char kConvertFileLabel[] = "CComCardConverter.ConvertFile";
constexpr char kSaveLabel[] = "CComCardConverter.SaveMemory";
constexpr char kCreateContactLabel[] = "CComCardConverter.CreateCardContact";
constexpr char kDRLabel[] = "CComCardConverter.DR";

// The PRODID line of written 3.0 cards: "PRODID:" and the caller's text,
// with control characters (which would break the line) made spaces; empty
// text selects the library's own line.
std::string ProdIdLine(std::u16string_view prog_id) {
  if (prog_id.empty()) return {};
  std::string text = codepage::FromUtf16(codepage::kUtf8, prog_id);
  for (char& c : text) {
    if (static_cast<unsigned char>(c) < 0x20) c = ' ';
  }
  return "PRODID:" + text;
}

// Passes the pipeline's counters on to the caller's callback.
vcard::CCardConverter::Progress AdaptProgress(ICardConverterProgress* progress) {
  if (progress == nullptr) return nullptr;
  return [progress](int converted, int copied, int errors) {
    progress->OnCardConverterProgress(converted + copied + errors, 0, converted, copied, errors);
    return !progress->IsCardConverterCancelled();
  };
}

std::string_view AsText(const std::vector<std::uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

}  // namespace

CComCardConverter::CComCardConverter() : context_(std::make_shared<CConverterContext>()) {}

CComCardConverter::~CComCardConverter() = default;

bool CComCardConverter::CheckInitialised(const char* label) {
  if (initialised_) return true;
  context_->log().LogError(label, E_GENERIC_FAILURE, "Not initialized");
  return false;
}

// --- Initialisation ---------------------------------------------------------

HRESULT CComCardConverter::Init(const std::u16string& product_code, const Variant& sup_enc_filename,
                                const Variant& prog_id_4_export, bool log) {
  return InitEx2(product_code, sup_enc_filename, prog_id_4_export, log, Variant(), Variant());
}

HRESULT CComCardConverter::InitEx(const std::u16string& product_code,
                                  const Variant& sup_enc_filename, const Variant& prog_id_4_export,
                                  bool log, const Variant& module_name_4_log) {
  return InitEx2(product_code, sup_enc_filename, prog_id_4_export, log, module_name_4_log,
                 Variant());
}

HRESULT CComCardConverter::InitEx2(const std::u16string& product_code,
                                   const Variant& sup_enc_filename, const Variant& prog_id_4_export,
                                   bool log, const Variant& module_name_4_log,
                                   const Variant& sup_ol_headers_csv) {
  CLog& the_log = context_->log();
  return GuardedCall(&the_log, kInitLabel, [&]() -> HRESULT {
    if (initialised_) {
      the_log.LogError(kInitLabel, E_GENERIC_FAILURE, "Already initialized");
      return E_GENERIC_FAILURE;
    }
    if (!product_code.empty() && log) {
      if (!IsMissingOrString(module_name_4_log)) {
        the_log.LogError(kInitLabel, E_INVALIDARG, "vModuleName4Log must be BSTR or Missing");
        return E_INVALIDARG;
      }
      the_log.Init(ThisModule(), StringOrEmpty(module_name_4_log), u"Zorva", product_code, -1,
                   true);
    }
    if (!IsMissingOrString(sup_enc_filename)) {
      the_log.LogError(kInitLabel, E_INVALIDARG, "vSupEncFilename must be BSTR or Missing");
      return E_INVALIDARG;
    }
    if (!IsMissingOrString(prog_id_4_export)) {
      the_log.LogError(kInitLabel, E_INVALIDARG, "vProgID4Export must be BSTR or Missing");
      return E_INVALIDARG;
    }
    if (!IsMissingOrString(sup_ol_headers_csv)) {
      the_log.LogError(kInitLabel, E_INVALIDARG, "vSupOLHeadersCsv must be BSTR or Missing");
      return E_INVALIDARG;
    }

    const std::u16string encodings = StringOrEmpty(sup_enc_filename);
    const std::filesystem::path encodings_file =
        encodings.empty() ? DataFolder() / "supportedEncodings.txt" : PathFromUtf16(encodings);
    context_->set_charsets(std::make_unique<CCharConverter>(the_log, encodings_file));
    context_->set_prodid_line(ProdIdLine(StringOrEmpty(prog_id_4_export)));

    const std::u16string outlook_headers = StringOrEmpty(sup_ol_headers_csv);
    if (!outlook_headers.empty()) {
      // A locale table that cannot be loaded leaves the English names in
      // use; it does not fail initialisation.
      context_->set_outlook_headers_file(PathFromUtf16(outlook_headers));
      const HRESULT loaded =
          context_->CsvHeaders().LoadOutlookLocales(context_->outlook_headers_file());
      if (FAILED(loaded)) {
        the_log.LogError(kInitLabel, loaded, "Cant load outlook csv locales from %s",
                         outlook_headers);
      }
    }
    initialised_ = true;
    return S_OK;
  });
}

HRESULT CComCardConverter::put_ConversionReport(IConversionReport* report) {
  context_->log().events().set_report(report);
  return S_OK;
}

// --- Loading ----------------------------------------------------------------

HRESULT CComCardConverter::LoadFrom(const char* label, int source,
                                    std::vector<std::u16string> files,
                                    const std::vector<std::uint8_t>* memory,
                                    std::int32_t max_contacts, bool add_source_prop,
                                    ICardConverterProgress* progress,
                                    std::shared_ptr<ICards>* cards) {
  if (!CheckInitialised(label)) return E_GENERIC_FAILURE;
  if (cards == nullptr) return E_INVALIDARG;
  cards->reset();
  const bool from_memory = source == csrcMemory;
  if (from_memory ? (memory == nullptr || memory->empty()) : files.empty()) {
    return E_INVALIDARG;
  }
  return GuardedCall(&context_->log(), kLoadFromLabel, [&] {
    CardLoadRequest request;
    request.source = source;
    for (const std::u16string& file : files) request.files.push_back(PathFromUtf16(file));
    if (memory) request.memory = AsText(*memory);
    request.max_contacts = max_contacts;
    request.add_source_prop = add_source_prop;
    request.progress = progress;
    std::vector<std::string> list;
    const HRESULT status = LoadCardsFrom(*context_, request, &list);
    if (FAILED(status)) return status;
    *cards = std::make_shared<CComCards>(context_, std::move(list));
    return status;
  });
}

HRESULT CComCardConverter::LoadFile(const std::u16string& file_name, std::int32_t max_contacts,
                                    bool add_source_prop, ICardConverterProgress* progress,
                                    std::shared_ptr<ICards>* cards) {
  if (file_name.empty()) {
    if (!CheckInitialised(kLoadFileLabel)) return E_GENERIC_FAILURE;
    return E_INVALIDARG;
  }
  return LoadFrom(kLoadFileLabel, csrcFile, {file_name}, nullptr, max_contacts, add_source_prop,
                  progress, cards);
}

HRESULT CComCardConverter::LoadFiles(const std::vector<std::u16string>& file_names,
                                     std::int32_t max_contacts, bool add_source_prop,
                                     ICardConverterProgress* progress,
                                     std::shared_ptr<ICards>* cards) {
  return LoadFrom(kLoadFilesLabel, csrcFiles, file_names, nullptr, max_contacts, add_source_prop,
                  progress, cards);
}

HRESULT CComCardConverter::LoadMemory(const std::vector<std::uint8_t>& vcards,
                                      std::int32_t max_contacts, ICardConverterProgress* progress,
                                      std::shared_ptr<ICards>* cards) {
  return LoadFrom(kLoadMemoryLabel, csrcMemory, {}, &vcards, max_contacts, false, progress, cards);
}

HRESULT CComCardConverter::CountFilesContacts(const std::vector<std::u16string>& file_names,
                                              std::int32_t* file_errors, std::int32_t max_contacts,
                                              ICardConverterProgress* progress,
                                              std::int32_t* count) {
  if (!initialised_) {
    if (file_errors) *file_errors = 0;
    if (count) *count = 0;
    CheckInitialised(kCountLabel);
    return E_GENERIC_FAILURE;
  }
  if (file_errors == nullptr || count == nullptr || file_names.empty()) return E_INVALIDARG;
  *file_errors = 0;
  *count = 0;
  return GuardedCall(&context_->log(), kCountLabel, [&] {
    std::vector<std::filesystem::path> files;
    for (const std::u16string& file : file_names) files.push_back(PathFromUtf16(file));
    return CountCardsOfFiles(*context_, files, max_contacts, progress, count, file_errors);
  });
}

HRESULT CComCardConverter::IsCardFileValid(const std::u16string& file_name, bool* valid) {
  return GuardedCall(&context_->log(), "CComCardConverter.IsCardFileValid", [&] {
    const bool ok =
        !file_name.empty() && automation::IsCardFileValid(*context_, PathFromUtf16(file_name));
    if (valid) *valid = ok;
    return ok ? S_OK : S_FALSE;
  });
}

// --- Converting -------------------------------------------------------------

HRESULT CComCardConverter::ConvertMemory(const std::vector<std::uint8_t>& vcards,
                                         std::int32_t* stats_converted, std::int32_t* stats_copied,
                                         std::int32_t* stats_errors, double dst_version,
                                         std::int32_t dst_encoding_cp,
                                         const Variant& dst_encoding_iso_name,
                                         std::vector<std::uint8_t>* converted,
                                         ICardConverterProgress* progress) {
  if (!CheckInitialised(kConvertMemoryLabel)) return E_GENERIC_FAILURE;
  if (vcards.empty() || converted == nullptr || stats_converted == nullptr ||
      stats_copied == nullptr || stats_errors == nullptr) {
    return E_INVALIDARG;
  }
  converted->clear();
  *stats_converted = *stats_copied = *stats_errors = 0;
  CLog& log = context_->log();
  return GuardedCall(&log, kConvertMemoryLabel, [&] {
    TargetFormat target;
    HRESULT status =
        SettleTargetFormat(log, *context_->charsets(), kConvertMemoryLabel, dst_version,
                           dst_encoding_cp, dst_encoding_iso_name, &target);
    if (FAILED(status)) return status;
    vcard::CCardConverter pipeline(log, *context_->charsets(), context_->prodid_line());
    // The cards one by one, joined here into the caller's array at its
    // exact size: one growing text and a copy of it would need the output
    // three times over at the peak.
    std::vector<std::string> cards;
    int done = 0, copied = 0, errors = 0;
    status =
        pipeline.ConvertMemory(AsText(vcards), target.version, target.code_page, target.iso_name,
                               nullptr, &cards, &done, &copied, &errors, AdaptProgress(progress));
    *stats_converted = done;
    *stats_copied = copied;
    *stats_errors = errors;
    std::size_t total = 0;
    for (const std::string& card : cards) total += card.size() + 2;
    converted->reserve(total);
    for (std::string& card : cards) {
      if (!converted->empty()) {
        converted->push_back('\r');
        converted->push_back('\n');
      }
      converted->insert(converted->end(), card.begin(), card.end());
      std::string().swap(card);
    }
    return status;
  });
}

HRESULT CComCardConverter::ConvertFile(const std::u16string& src_filename,
                                       const std::u16string& dst_filename,
                                       std::int32_t* stats_converted, std::int32_t* stats_copied,
                                       std::int32_t* stats_errors, double dst_version,
                                       std::int32_t dst_encoding_cp,
                                       const Variant& dst_encoding_iso_name, bool skip_file_copy,
                                       ICardConverterProgress* progress) {
  if (!CheckInitialised(kConvertFileLabel)) return E_GENERIC_FAILURE;
  if (src_filename.empty() || dst_filename.empty() || stats_converted == nullptr ||
      stats_copied == nullptr || stats_errors == nullptr) {
    return E_INVALIDARG;
  }
  *stats_converted = *stats_copied = *stats_errors = 0;
  CLog& log = context_->log();
  return GuardedCall(&log, kConvertFileLabel, [&] {
    TargetFormat target;
    HRESULT status = SettleTargetFormat(log, *context_->charsets(), kConvertFileLabel, dst_version,
                                        dst_encoding_cp, dst_encoding_iso_name, &target);
    if (FAILED(status)) return status;
    vcard::CCardConverter pipeline(log, *context_->charsets(), context_->prodid_line());
    int done = 0, copied = 0, errors = 0;
    status = pipeline.ConvertFile(PathFromUtf16(src_filename), target.version, target.code_page,
                                  target.iso_name, PathFromUtf16(dst_filename), skip_file_copy,
                                  &done, &copied, &errors, AdaptProgress(progress));
    *stats_converted = done;
    *stats_copied = copied;
    *stats_errors = errors;
    return status;
  });
}

// --- Saving -----------------------------------------------------------------

HRESULT CComCardConverter::SaveMemory(
    const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
    const std::u16string& dst_base_name, bool save_to_single_file, std::int32_t* stats_saved,
    std::int32_t* stats_skipped, std::int32_t* stats_errors, double dst_version,
    std::int32_t dst_encoding_cp, const Variant& dst_encoding_iso_name, EDRMethod dr,
    ICardConverterProgress* progress, std::vector<std::u16string>* file_names) {
  return SaveMemory2(vcards, dst_dir, dst_base_name, save_to_single_file, stats_saved,
                     stats_skipped, nullptr, nullptr, stats_errors, dst_version, dst_encoding_cp,
                     dst_encoding_iso_name, dr, progress, file_names);
}

HRESULT CComCardConverter::SaveMemory2(
    const std::vector<std::uint8_t>& vcards, const std::u16string& dst_dir,
    const std::u16string& dst_base_name, bool save_to_single_file, std::int32_t* stats_saved,
    std::int32_t* stats_skipped_all, std::int32_t* stats_skipped_dups, std::int32_t* io_errors,
    std::int32_t* stats_errors, double dst_version, std::int32_t dst_encoding_cp,
    const Variant& dst_encoding_iso_name, EDRMethod dr, ICardConverterProgress* progress,
    std::vector<std::u16string>* file_names) {
  if (!CheckInitialised(kSaveLabel)) return E_GENERIC_FAILURE;
  if (vcards.empty() || dst_dir.empty() || stats_saved == nullptr || stats_skipped_all == nullptr ||
      stats_errors == nullptr) {
    return E_INVALIDARG;
  }
  CLog& log = context_->log();
  if (dr != drmNone && dr != drmNewest && dr != drmKeepOriginal) {
    log.LogError(kSaveLabel, E_INVALIDARG, "eDR");
    return E_INVALIDARG;
  }
  CardSaveStats stats;
  const HRESULT status = GuardedCall(&log, kSaveLabel, [&] {
    CardSaveRequest request;
    HRESULT settled = SettleTargetFormat(log, *context_->charsets(), kSaveLabel, dst_version,
                                         dst_encoding_cp, dst_encoding_iso_name, &request.target);
    if (FAILED(settled)) return settled;
    request.cards = AsText(vcards);
    request.folder = PathFromUtf16(dst_dir);
    request.base_name = dst_base_name;
    request.single_file = save_to_single_file;
    request.dr = dr;
    request.progress = progress;
    return SaveCards(*context_, request, &stats, file_names);
  });
  *stats_saved = stats.saved;
  *stats_skipped_all = stats.skipped_all;
  if (stats_skipped_dups) *stats_skipped_dups = stats.skipped_dups;
  if (io_errors) *io_errors = stats.io_errors;
  *stats_errors = stats.errors;
  return status;
}

// --- Contacts and duplicates ------------------------------------------------

HRESULT CComCardConverter::CreateCardContact(std::shared_ptr<ICardContact>* contact) {
  if (!CheckInitialised(kCreateContactLabel)) return E_GENERIC_FAILURE;
  if (contact == nullptr) return E_INVALIDARG;
  contact->reset();
  return GuardedCall(&context_->log(), kCreateContactLabel, [&] {
    *contact =
        std::make_shared<CComCardContact>(context_, std::make_unique<contact::ContactRecord>());
    return S_OK;
  });
}

HRESULT CComCardConverter::DR(const Variant& client_cards, const Variant& server_cards,
                              const Variant& server_cards_tags, EDRMethod dr,
                              std::shared_ptr<ICards>* cards_to_add,
                              std::shared_ptr<ICards>* cards_to_overwrite,
                              std::int32_t* client_duplicates, ICardConverterProgress* progress) {
  if (!CheckInitialised(kDRLabel)) return E_GENERIC_FAILURE;
  return GuardedCall(&context_->log(), kDRLabel, [&] {
    return ResolveDuplicates(context_, client_cards, server_cards, server_cards_tags, dr,
                             cards_to_add, cards_to_overwrite, client_duplicates, progress);
  });
}

// --- Factory ----------------------------------------------------------------

}  // namespace velmora::automation

namespace velmora {

std::shared_ptr<ICardConverter> CreateCardConverter() {
  try {
    return std::make_shared<automation::CComCardConverter>();
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace velmora
