#include "automation/contact_display.h"

#include "foundation/system_settings.h"
#include "foundation/text_util.h"

namespace velmora::automation {
namespace {

// Every CR LF, then every remaining CR and LF, becomes one space.
std::u16string LineBreaksToSpaces(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') {
      out.push_back(u' ');
      ++i;
    } else if (c == u'\r' || c == u'\n') {
      out.push_back(u' ');
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::u16string BodyAsSingleString(std::u16string_view body, int max_chars) {
  std::u16string out = LineBreaksToSpaces(text::Trim(body));
  if (max_chars >= 1 && out.size() > static_cast<std::size_t>(max_chars)) {
    std::size_t cut = static_cast<std::size_t>(max_chars);
    if (out[cut - 1] >= 0xD800 && out[cut - 1] <= 0xDBFF) --cut;
    out.resize(cut);
  }
  return out;
}

std::u16string AddressToString(const contact::ContactAddress& address,
                               std::u16string_view delimiter) {
  if (delimiter.empty()) delimiter = u", ";
  std::u16string out;
  for (const std::u16string* part :
       {&address.Street, &address.City, &address.State, &address.PostalCode, &address.Country}) {
    const std::u16string_view trimmed = text::Trim(*part);
    if (trimmed.empty()) continue;
    if (!out.empty()) out.append(delimiter);
    out.append(trimmed);
  }
  if (out.find(u"\r\n") != std::u16string::npos) out = LineBreaksToSpaces(out);
  return out;
}

std::u16string StreetAndOfficeLocation(const contact::ContactAddress& address) {
  if (!address.OfficeLocation.empty() && !address.Street.empty()) {
    return address.OfficeLocation + u" " + address.Street;
  }
  return address.OfficeLocation.empty() ? address.Street : address.OfficeLocation;
}

bool IsAddressBlank(const contact::ContactAddress& address) {
  for (const std::u16string* part :
       {&address.PostOfficeBox, &address.OfficeLocation, &address.Street, &address.City,
        &address.State, &address.PostalCode, &address.Country}) {
    if (!text::Trim(*part).empty()) return false;
  }
  return true;
}

std::u16string JoinWithListSeparator(const std::vector<std::u16string>& elements) {
  std::u16string separator(text::Trim(settings::ListSeparator()));
  separator.push_back(u' ');
  std::u16string out;
  for (const std::u16string& element : elements) {
    const std::u16string_view trimmed = text::Trim(element);
    if (trimmed.empty()) continue;
    if (!out.empty()) out.append(separator);
    out.append(trimmed);
  }
  return out;
}

}  // namespace velmora::automation
