#include "automation/com_card_preview.h"

#include <utility>

#include "automation/call_guard.h"
#include "automation/contact_display.h"
#include "contact/card_names.h"
#include "foundation/text_util.h"

namespace velmora::automation {
namespace {

// Street, City, State, PostalCode and Country, trimmed, joined by spaces.
std::u16string AddressLine(const contact::ContactAddress& address) {
  std::u16string out;
  for (const std::u16string* part :
       {&address.Street, &address.City, &address.State, &address.PostalCode, &address.Country}) {
    const std::u16string_view trimmed = text::Trim(*part);
    if (trimmed.empty()) continue;
    if (!out.empty()) out.push_back(u' ');
    out.append(trimmed);
  }
  return out;
}

template <typename List, typename Text>
std::u16string JoinList(const List& list, Text&& text) {
  std::vector<std::u16string> elements;
  elements.reserve(list.size());
  for (const auto& element : list) elements.push_back(text(element));
  return JoinWithListSeparator(elements);
}

}  // namespace

CardPreviewRecord CardPreviewRecord::FromRecord(const contact::ContactRecord& record,
                                                std::string card) {
  CardPreviewRecord preview;
  preview.FileAs = contact::ComposeFileAsName(record);
  preview.FullName = contact::ComposeFullName(record);
  preview.Addresses = JoinList(record.Addresses, AddressLine);
  preview.Emails = JoinList(record.Emails, [](const contact::ContactEmail& e) { return e.Value; });
  preview.Phones = JoinList(record.Phones, [](const contact::ContactPhone& p) { return p.Value; });
  preview.Company = record.CompanyName;
  preview.IMPPs = JoinList(record.Impps, [](const contact::ContactImpp& i) { return i.Value; });
  preview.JobTitle = record.JobTitle;
  preview.Notes = BodyAsSingleString(record.Body, 0);
  preview.vCard = std::move(card);
  return preview;
}

HRESULT CComCardPreview::Text(const std::u16string& field, std::u16string* value) {
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, "CComCardPreview", [&] {
    *value = field;
    return S_OK;
  });
}

HRESULT CComCardPreview::get_Addresses(std::u16string* value) {
  return Text(preview_.Addresses, value);
}
HRESULT CComCardPreview::get_Company(std::u16string* value) {
  return Text(preview_.Company, value);
}
HRESULT CComCardPreview::get_Emails(std::u16string* value) { return Text(preview_.Emails, value); }
HRESULT CComCardPreview::get_FileAs(std::u16string* value) { return Text(preview_.FileAs, value); }
HRESULT CComCardPreview::get_FullName(std::u16string* value) {
  return Text(preview_.FullName, value);
}
HRESULT CComCardPreview::get_IMPPs(std::u16string* value) { return Text(preview_.IMPPs, value); }
HRESULT CComCardPreview::get_JobTitle(std::u16string* value) {
  return Text(preview_.JobTitle, value);
}
HRESULT CComCardPreview::get_Notes(std::u16string* value) { return Text(preview_.Notes, value); }
HRESULT CComCardPreview::get_Phones(std::u16string* value) { return Text(preview_.Phones, value); }

HRESULT CComCardPreview::get_vCard(std::vector<std::uint8_t>* value) {
  if (value == nullptr) return E_INVALIDARG;
  return GuardedCall(nullptr, "CComCardPreview", [&] {
    value->assign(preview_.vCard.begin(), preview_.vCard.end());
    return S_OK;
  });
}

}  // namespace velmora::automation
