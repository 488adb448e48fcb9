#include "spreadsheet/cell_error.h"

#include <iterator>

namespace velmora::spreadsheet {
namespace {

struct ErrorValue {
  int code;
  std::string_view text;
};

constexpr ErrorValue kErrors[] = {
    {0, "#NULL!"},  {7, "#DIV/0!"}, {15, "#VALUE!"}, {23, "#REF!"},
    {29, "#NAME?"}, {36, "#NUM!"},  {42, "#N/A"},
};

}  // namespace

int CellErrorCode(std::string_view text) {
  for (const ErrorValue& e : kErrors) {
    if (e.text == text) return e.code;
  }
  return kUnknownCellError;
}

std::string_view CellErrorText(int code) {
  for (const ErrorValue& e : kErrors) {
    if (e.code == code) return e.text;
  }
  return {};
}

}  // namespace velmora::spreadsheet
