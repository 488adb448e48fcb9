// The PHOTO property: only inline base64 pictures can be kept; a picture
// given by address is reported and left out.
#include <utility>

#include "contact/card_tools.h"
#include "foundation/text_util.h"
#include "vcard/card_parser.h"

namespace velmora::vcard {

namespace {

constexpr char kPhotoLabel[] = "CCardParser.m_setPhoto";

// The picture formats Outlook can show.
constexpr std::string_view kSupportedTypes[] = {"BMP", "EMF", "GIF", "ICO",  "JPEG",
                                                "JPG", "PNG", "TIF", "TIFF", "WMF"};

bool Is(std::string_view word, std::string_view keyword) {
  return text::EqualsAsciiNoCase(word, keyword);
}

bool IsBase64(std::string_view encoding) { return Is(encoding, "BASE64") || Is(encoding, "B"); }

// Bare parameters that name an encoding rather than a picture type.
bool IsEncodingWord(std::string_view word) {
  return IsBase64(word) || Is(word, "QUOTED-PRINTABLE") || Is(word, "8BIT") || Is(word, "7BIT");
}

// TYPE="jpeg" (quoted in some 3.0 writers) -> JPEG; JPG -> JPEG, TIF -> TIFF.
std::string NormalisedType(std::string_view type) {
  if (type.size() >= 2 && type.front() == '"' && type.back() == '"') {
    type = text::Trim(type.substr(1, type.size() - 2));
  }
  std::string upper(type);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  if (upper == "JPG") return "JPEG";
  if (upper == "TIF") return "TIFF";
  return upper;
}

}  // namespace

bool CCardParser::m_setPhoto(const CCardDocItemProp& prop) {
  if (!record_.Photo.empty()) {
    m_logDuplicate(kPhotoLabel, prop);
    return false;
  }
  bool has_encoding = false;
  std::string_view encoding;
  std::string_view type;
  for (const CCardDocItemPropParam& param : prop.params()) {
    const std::string_view name = text::Trim(param.GetName());
    const std::string_view value = param.GetValueTrimmed();
    if (name.empty()) {
      // 2.1 writes "PHOTO;ENCODING=BASE64;JPEG" or even "PHOTO;BASE64;JPEG".
      if (value.empty()) continue;
      if (IsEncodingWord(value)) {
        if (!has_encoding) encoding = value;
        has_encoding = true;
      } else if (type.empty()) {
        type = value;
      }
    } else if (Is(name, "ENCODING")) {
      if (!has_encoding) encoding = value;
      has_encoding = true;
    } else if (Is(name, "TYPE")) {
      if (type.empty()) type = value;
    } else if (Is(name, "VALUE")) {
      // 3.0 calls the same thing VALUE=uri.
      if (Is(value, "URL") || Is(value, "URI")) {
        log_.LogError(kPhotoLabel, E_INVALIDARG, "Unsupported PHOTO by URL");
        return false;
      }
      log_.LogWarning(kPhotoLabel, S_FALSE, "Ignoring VALUE=%s", value);
    } else {
      log_.LogWarning(kPhotoLabel, S_FALSE, "Skipping unknown ParamName(%s) & ParamValue(%s)", name,
                      value);
    }
  }
  if (!has_encoding) {
    log_.LogWarning(kPhotoLabel, S_FALSE, "No ENCODING param:\n%s", prop.ToString());
    return false;
  }
  if (!IsBase64(encoding)) {
    log_.LogWarning(kPhotoLabel, S_FALSE, "Unsupported ENCODING:%s", encoding);
    return false;
  }
  const std::string normalised = NormalisedType(type);
  bool supported = false;
  if (!normalised.empty()) {
    for (std::string_view known : kSupportedTypes) supported = supported || normalised == known;
    if (!supported) {
      log_.LogWarning(kPhotoLabel, S_FALSE, "image type(%s) is unsupported (by outlook)",
                      normalised);
    }
  }
  std::vector<std::uint8_t> bytes;
  if (!prop.GetDecodedBinaryValue(bytes)) return false;  // logged by the decoder
  if (bytes.empty()) {
    log_.LogWarning(kPhotoLabel, S_FALSE, "%s: empty value", prop.name());
    return false;
  }
  if (normalised.empty()) {
    record_.PhotoExt = contact::DetectPhotoExt(bytes.data(), bytes.size(), &log_);
  } else if (supported) {
    record_.PhotoExt = Widen(normalised);
  } else {
    // Writers put anything into TYPE ("WORK", "image/png"); the picture's
    // own signature is the better witness when it is a known one.
    record_.PhotoExt = contact::DetectPhotoExt(bytes.data(), bytes.size(), nullptr);
    if (record_.PhotoExt.empty()) record_.PhotoExt = Widen(normalised);
  }
  record_.Photo = std::move(bytes);
  return true;
}

}  // namespace velmora::vcard
