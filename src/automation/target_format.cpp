#include "automation/target_format.h"

#include "automation/argument_checks.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"
#include "vcard/card_version.h"

namespace velmora::automation {

HRESULT SettleTargetFormat(CLog& log, const CCharConverter& charsets, std::string_view label,
                           double version, int code_page, const Variant& iso_name,
                           TargetFormat* target) {
  target->version = vcard::VersionTimesTen(version);
  if (target->version != 21 && target->version != 30) {
    log.LogWarning(label, 0, "Invalid CardVersion, taking 3.0");
    target->version = 30;
  }

  std::u16string iso;
  if (iso_name.is_missing()) {
    if (code_page == 0) code_page = settings::AnsiCodePage();
    if (code_page < 0) {
      // The "<System Locale>" entry (-1): the ANSI code page and its name.
      code_page = settings::AnsiCodePage();
    }
    iso = charsets.IsoNameByCodePage(code_page);
    if (iso.empty()) {
      log.LogError(label, E_INVALIDARG, "Cant find iso name for encoding codepage = %d", code_page);
      return E_INVALIDARG;
    }
  } else {
    if (iso_name.string() == nullptr) {
      log.LogError(label, E_INVALIDARG, "EncodingIsoName must be BSTR or Missing");
      return E_INVALIDARG;
    }
    // An empty name is the caller's request for cards without CHARSET
    // parameters (old phones read only bare 2.1); the text still goes out
    // in the code page, the ANSI one when none is given.
    iso = *iso_name.string();
    if (code_page <= 0) code_page = settings::AnsiCodePage();
  }
  target->code_page = code_page;
  target->iso_name = codepage::FromUtf16(codepage::kUtf8, iso);
  return S_OK;
}

}  // namespace velmora::automation
