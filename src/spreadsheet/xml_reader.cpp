#include "spreadsheet/xml_reader.h"

#include <climits>
#include <cstring>

#include <expat.h>

#include "foundation/text_format.h"

namespace velmora::spreadsheet {
namespace {

constexpr char kNamespaceSeparator = '\x01';

std::string_view LocalName(const char* name) {
  const char* local = std::strrchr(name, kNamespaceSeparator);
  return local == nullptr ? std::string_view(name) : std::string_view(local + 1);
}

XML_Parser Parser(void* parser) { return static_cast<XML_Parser>(parser); }

}  // namespace

const char* XmlAttributes::Get(std::string_view local, bool in_namespace) const {
  for (const char** a = list_; a != nullptr && a[0] != nullptr; a += 2) {
    if (LocalName(a[0]) != local) continue;
    if (in_namespace && std::strchr(a[0], kNamespaceSeparator) == nullptr) continue;
    return a[1];
  }
  return nullptr;
}

void XmlHandler::Stop(std::string message) {
  if (reader_ != nullptr) reader_->Stop(std::move(message));
}

XmlReader::XmlReader(XmlHandler& handler)
    : handler_(handler), parser_(XML_ParserCreateNS(nullptr, kNamespaceSeparator)) {
  handler_.reader_ = this;
  if (parser_ == nullptr) return;
  XML_SetUserData(Parser(parser_), this);
  XML_SetElementHandler(Parser(parser_), OnStart, OnEnd);
  XML_SetCharacterDataHandler(Parser(parser_), OnText);
  XML_SetStartDoctypeDeclHandler(Parser(parser_), OnDoctype);
  XML_SetParamEntityParsing(Parser(parser_), XML_PARAM_ENTITY_PARSING_NEVER);
}

XmlReader::~XmlReader() {
  handler_.reader_ = nullptr;
  if (parser_ != nullptr) XML_ParserFree(Parser(parser_));
}

void XmlReader::Stop(std::string message) {
  if (stopped_) return;
  stopped_ = true;
  error_ = std::move(message);
  XML_StopParser(Parser(parser_), XML_FALSE);
}

bool XmlReader::Feed(std::string_view piece, bool last) {
  if (parser_ == nullptr) {
    error_ = "out of memory";
    return false;
  }
  if (stopped_) return false;
  while (piece.size() > INT_MAX / 2) {
    if (!Feed(piece.substr(0, INT_MAX / 2), false)) return false;
    piece.remove_prefix(INT_MAX / 2);
  }
  if (XML_Parse(Parser(parser_), piece.data(), static_cast<int>(piece.size()), last ? 1 : 0) ==
      XML_STATUS_OK) {
    return !stopped_;
  }
  if (!stopped_) {
    stopped_ = true;
    error_ = FormatUtf8("XML error at line %u: %s",
                        static_cast<unsigned>(XML_GetCurrentLineNumber(Parser(parser_))),
                        XML_ErrorString(XML_GetErrorCode(Parser(parser_))));
  }
  return false;
}

void XmlReader::OnStart(void* self, const char* name, const char** attributes) {
  auto* reader = static_cast<XmlReader*>(self);
  if (!reader->stopped_) reader->handler_.StartElement(LocalName(name), XmlAttributes(attributes));
}

void XmlReader::OnEnd(void* self, const char* name) {
  auto* reader = static_cast<XmlReader*>(self);
  if (!reader->stopped_) reader->handler_.EndElement(LocalName(name));
}

void XmlReader::OnText(void* self, const char* text, int length) {
  auto* reader = static_cast<XmlReader*>(self);
  if (!reader->stopped_)
    reader->handler_.Text(std::string_view(text, static_cast<std::size_t>(length)));
}

void XmlReader::OnDoctype(void* self, const char*, const char*, const char*, int) {
  static_cast<XmlReader*>(self)->Stop("XML with a document type declaration is refused");
}

}  // namespace velmora::spreadsheet
