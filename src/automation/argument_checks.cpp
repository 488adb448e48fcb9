#include "automation/argument_checks.h"

#include "foundation/code_page.h"

namespace velmora::automation {

std::filesystem::path PathFromUtf16(std::u16string_view text) {
  return std::filesystem::path(codepage::FromUtf16(codepage::kUtf8, text));
}

std::u16string Utf16FromPath(const std::filesystem::path& path) {
  return codepage::ToUtf16(codepage::kUtf8, path.native());
}

}  // namespace velmora::automation
