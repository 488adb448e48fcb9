// Streaming XML for the parts of a workbook package, on expat. Element and
// attribute names reach the handler as local names (the namespace prefix
// dropped), so that packages written with prefixes ("x:row") or with the
// strict namespaces read the same. A document type declaration stops the
// parse: workbook XML never has one, and refusing it rules out external
// entities and entity expansion attacks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::spreadsheet {

// One element's attributes as expat gives them: name, value, name, value,
// ..., null.
class XmlAttributes {
 public:
  explicit XmlAttributes(const char** list) : list_(list) {}
  // The value of the attribute with this local name (any namespace), or
  // null. `in_namespace` asks for a prefixed attribute ("r:id") only.
  const char* Get(std::string_view local, bool in_namespace = false) const;

 private:
  const char** list_;
};

class XmlReader;

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  virtual void StartElement(std::string_view name, const XmlAttributes& attributes) = 0;
  virtual void EndElement(std::string_view name) = 0;
  // Character data, in pieces; CDATA sections arrive the same way.
  virtual void Text(std::string_view text) = 0;

 protected:
  // Stops the parse with `message` (the reader's error()).
  void Stop(std::string message);

 private:
  friend class XmlReader;
  XmlReader* reader_ = nullptr;
};

class XmlReader {
 public:
  explicit XmlReader(XmlHandler& handler);
  ~XmlReader();
  XmlReader(const XmlReader&) = delete;
  XmlReader& operator=(const XmlReader&) = delete;

  // Parses the next piece; `last` ends the document. False once the XML is
  // malformed or the handler stopped the parse (see error()).
  bool Feed(std::string_view piece, bool last);
  // Stops the parse with `message`.
  void Stop(std::string message);
  const std::string& error() const { return error_; }

 private:
  static void OnStart(void* self, const char* name, const char** attributes);
  static void OnEnd(void* self, const char* name);
  static void OnText(void* self, const char* text, int length);
  static void OnDoctype(void* self, const char*, const char*, const char*, int);

  XmlHandler& handler_;
  void* parser_;  // XML_Parser
  std::string error_;
  bool stopped_ = false;
};

}  // namespace velmora::spreadsheet
