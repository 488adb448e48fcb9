#include "automation/target_format.h"

#include "automation/argument_checks.h"
#include "foundation/code_page.h"
#include "foundation/system_settings.h"
#include "vcard/card_version.h"

namespace velmora {

HRESULT SettleTargetFormat(CLog& log, const CCharConverter& charsets, std::string_view label,
                           double version, int code_page, const Variant& iso_name,
                           TargetFormat* target) {
  target->version = VersionTimesTen(version);
  if (target->version != 21 && target->version != 30) {
    log.LogWarning(label, 0, "Invalid CardVersion, taking 3.0");
    target->version = 30;
  }

  std::u16string iso;
  if (iso_name.is_missing()) {
    if (code_page == 0) code_page = settings::AnsiCodePage();
    if (code_page >= 0) {
      iso = charsets.IsoNameByCodePage(code_page);
      if (iso.empty()) {
        log.LogError(label, E_INVALIDARG, "Cant find iso name for encoding codepage = %d",
                     code_page);
        return E_INVALIDARG;
      }
    }
  } else {
    if (iso_name.string() == nullptr) {
      log.LogError(label, E_INVALIDARG, "EncodingIsoName must be BSTR or Missing");
      return E_INVALIDARG;
    }
    iso = *iso_name.string();
  }
  if (iso.empty()) {
    // The "<System Locale>" entry (-1) or an empty name: the charset name of
    // the code page, the ANSI one when none is given.
    if (code_page <= 0) code_page = settings::AnsiCodePage();
    iso = charsets.IsoNameByCodePage(code_page);
    if (iso.empty()) {
      log.LogError(label, E_INVALIDARG, "Cant find iso name for encoding codepage = %d", code_page);
      return E_INVALIDARG;
    }
  }
  target->code_page = code_page;
  target->iso_name = codepage::FromUtf16(codepage::kUtf8, iso);
  return S_OK;
}

}  // namespace velmora
