#include "automation/converter_context.h"

namespace velmora::automation {

const contact::FieldFilter& CConverterContext::PreviewFilter() {
  if (!preview_filter_built_) {
    contact::BuildPreviewFilter(log_, preview_filter_);
    preview_filter_built_ = true;
  }
  return preview_filter_;
}

csv::CCsvHeaders& CConverterContext::CsvHeaders() {
  std::call_once(csv_headers_once_,
                 [this] { csv_headers_ = std::make_unique<csv::CCsvHeaders>(log_); });
  return *csv_headers_;
}

}  // namespace velmora::automation
