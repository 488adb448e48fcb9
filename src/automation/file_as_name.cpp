#include "automation/file_as_name.h"

#include <vector>

#include "contact/card_names.h"
#include "vcard/card_doc.h"

namespace velmora::automation {
namespace {

constexpr char kLabel[] = "CCardDoc.GenFileAs";

}  // namespace

HRESULT GenFileAs(CLog& log, std::string_view card, std::u16string* file_as) {
  file_as->clear();
  if (card.empty() || card.size() > static_cast<std::size_t>(vcard::CCardDoc::kMaxContentLength)) {
    log.LogAssert(false, kLabel, __LINE__);
    return E_INVALIDARG;
  }
  vcard::CCardDoc doc(log);
  const vcard::LoadResult loaded =
      doc.LoadFromMemory(card.data(), static_cast<std::int32_t>(card.size()), true);
  const vcard::CCardDocItem* item = doc.GetItem(0);
  if (loaded == vcard::LoadResult::kNoItem || item == nullptr) {
    return loaded == vcard::LoadResult::kNoItem ? vcard::LoadResultStatus(loaded)
                                                : E_GENERIC_FAILURE;
  }

  contact::NameParts parts;
  if (const vcard::CCardDocItemProp* n = item->FindProp("N")) {
    std::vector<std::u16string> components;
    n->GetDecodedMultiValue(components);
    if (components.size() < 5) {
      log.LogWarning(kLabel, 0, "Invalid N filed:%s\n", n->ToString());
    } else {
      parts.LastName = components[0];
      parts.FirstName = components[1];
      parts.MiddleName = components[2];
      parts.Title = components[3];
      parts.Suffix = components[4];
    }
  }
  std::u16string formatted_name;
  if (const vcard::CCardDocItemProp* fn = item->FindProp("FN")) fn->GetDecodedValue(formatted_name);
  std::u16string company;
  if (const vcard::CCardDocItemProp* org = item->FindProp("ORG")) {
    std::vector<std::u16string> components;
    org->GetDecodedMultiValue(components);
    if (!components.empty()) company = components[0];
  }
  *file_as = contact::ComposeFileAsName(parts, formatted_name, company);
  return S_OK;
}

}  // namespace velmora::automation
