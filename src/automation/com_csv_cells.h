// CsvCells: one parsed CSV table, owned, with one header code per column.
// Made by CsvContent::Parse (and later by spreadsheet loading); rows turn
// into vCards through the CSV importer.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <velmora/csv_content.h>

#include "automation/converter_context.h"
#include "automation/live_object.h"
#include "csv/csv_cells.h"

namespace velmora::automation {

class CComCsvCells : public ICsvCells {
 public:
  // `has_header_row`: the table's first row names the columns, read by the
  // names of the Outlook locale `lid` (empty: every dialect's names).
  CComCsvCells(std::shared_ptr<CConverterContext> context, csv::CsvCellsTable cells,
               bool has_header_row, std::u16string lid);

  HRESULT get_HasHeaderRow(bool* value) override;
  HRESULT get_RowCount(std::int32_t* value) override;
  HRESULT get_ColCount(std::int32_t* value) override;
  HRESULT Cell(std::int32_t row, std::int32_t col, std::u16string* value) override;
  HRESULT row(std::int32_t row, std::vector<std::u16string>* value) override;
  HRESULT get_HeaderCode(std::int32_t col, std::int32_t* value) override;
  HRESULT put_HeaderCode(std::int32_t col, std::int32_t value) override;
  HRESULT HeaderName(std::int32_t col, std::u16string* value) override;
  HRESULT EmptyHeadersCount(std::int32_t* value) override;
  HRESULT ResetHeaders() override;
  HRESULT ConvertRows(std::int32_t* stats_empties, std::int32_t* stats_errors,
                      std::shared_ptr<ICards>* cards, ICardConverterProgress* progress,
                      std::int32_t from, std::int32_t count) override;
  HRESULT PlainCsv(bool* changed) override;
  HRESULT PlainCsvEx(std::int32_t flags, bool* changed) override;
  HRESULT RowToString(std::int32_t row, const Variant& separator, std::u16string* text) override;
  HRESULT RowToStringEx(std::int32_t row, const Variant& separator, bool transpose,
                        std::u16string* text) override;
  HRESULT ColToString(std::int32_t col, const Variant& separator, std::u16string* text) override;
  HRESULT ColToStringEx(std::int32_t col, const Variant& separator, bool transpose,
                        std::u16string* text) override;
  HRESULT CellsToString(const Variant& separator, std::u16string* text) override;
  HRESULT CellsToStringEx(const Variant& separator, bool transpose, std::u16string* text) override;

 private:
  bool IsRow(std::int32_t row) const {
    return row >= 0 && static_cast<std::size_t>(row) < cells_.size();
  }
  bool IsColumn(std::int32_t col) const {
    return col >= 0 && static_cast<std::size_t>(col) < codes_.size();
  }
  // Recomputes codes_ from the header row.
  void FindCodes();
  // The separator of the text operations: ',' when missing; 0, with the
  // error logged under `label`, when it is not one usable character.
  char16_t SeparatorOf(const Variant& separator, const char* label) const;

  std::shared_ptr<CConverterContext> context_;
  csv::CsvCellsTable cells_;
  bool has_header_row_;
  std::u16string lid_;
  std::vector<std::uint32_t> codes_;
  CLiveObject live_;
};

}  // namespace velmora::automation
