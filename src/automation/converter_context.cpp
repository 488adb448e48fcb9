#include "automation/converter_context.h"

namespace velmora {

const FieldFilter& CConverterContext::PreviewFilter() {
  if (!preview_filter_built_) {
    BuildPreviewFilter(log_, preview_filter_);
    preview_filter_built_ = true;
  }
  return preview_filter_;
}

}  // namespace velmora
