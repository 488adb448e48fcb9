#include "automation/csv_export_rows.h"

#include <set>

#include "automation/file_as_name.h"
#include "automation/single_card_parser.h"
#include "contact/card_names.h"
#include "vcard/card_parser.h"

namespace velmora::automation {

HRESULT MakeCsvExportRows(CConverterContext& context, const CsvExportRequest& request,
                          CardSaveStats* stats, CsvExportRows* out) {
  CLog& log = context.log();
  *out = CsvExportRows();
  std::vector<std::string> cards;
  {
    vcard::CCardParser parser(log, context.charsets());
    parser.document().set_keep_items(false);
    const vcard::LoadResult loaded =
        parser.LoadMemory(request.cards.data(), static_cast<std::int32_t>(request.cards.size()),
                          {.mode = vcard::ParseMode::kCollect, .texts = &cards});
    if (loaded == vcard::LoadResult::kNoItem) {
      log.LogError(request.label, vcard::LoadResultStatus(loaded), "ParseCards");
    }
  }
  const std::int32_t total = static_cast<std::int32_t>(cards.size());
  std::vector<bool> skip(cards.size(), false);
  if (request.dr != drmNone && cards.size() > 1) skip = FindDuplicateCards(log, cards, request.dr);
  const csv::CCsvHeaders& headers = context.CsvHeaders();
  const csv::COutlookCsvLocale* locale =
      request.type == vlmcsvOutlook ? headers.FindLocale(request.lid) : nullptr;
  // Every column of the dialect's list. Google's grouped entries stand for
  // columns numbered from 1: those come from the rows, as the contacts need
  // them (an "E-mail 0 - Value" column would mean nothing to any reader).
  std::set<std::uint32_t> used;
  for (const csv::CCsvHeader* entry : headers.GetHeaderList(request.type, 0)) {
    if (!entry->IsGroupped()) used.insert(entry->Code);
  }
  contact::ContactRecord record;
  for (std::size_t i = 0; i < cards.size(); ++i) {
    CCardEventScope card(log.events(), static_cast<std::int32_t>(i + 1));
    if (skip[i]) {
      ++stats->skipped_all;
      ++stats->skipped_dups;
    } else if (FAILED(ParseSingleCard(context, cards[i], nullptr, &record))) {
      ++stats->errors;
    } else {
      if (log.events().listening()) log.events().SetCardName(contact::ComposeFullName(record));
      CsvExportRows::Row row;
      csv::ExportContactW(headers, record, row.cells, request.type, locale);
      card.Commit();
      for (const auto& [code, text] : row.cells) used.insert(code);
      GenFileAs(log, cards[i], &row.base_name);
      out->rows.push_back(std::move(row));
    }
    if (request.progress != nullptr) {
      request.progress->OnCardConverterProgress(stats->saved + stats->skipped_all + stats->errors,
                                                total, static_cast<std::int32_t>(out->rows.size()),
                                                stats->skipped_all, stats->errors);
      if (request.progress->IsCardConverterCancelled()) return S_FALSE;
    }
  }
  if (out->rows.empty()) {
    log.LogError(request.label, E_GENERIC_FAILURE, "no CSV Contacts after Parse");
    return E_GENERIC_FAILURE;
  }
  out->codes.assign(used.begin(), used.end());
  headers.GetHeaders(out->codes, request.type, false);
  const std::u16string lid = request.type == vlmcsvOutlook ? request.lid : u"";
  for (const std::uint32_t code : out->codes) {
    out->names[code] = headers.BuildHeaderName(code, request.type, lid);
  }
  return S_OK;
}

}  // namespace velmora::automation
