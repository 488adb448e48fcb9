#include "spreadsheet/ooxml_package.h"

namespace velmora::spreadsheet {
namespace {

class RelationshipsHandler : public XmlHandler {
 public:
  RelationshipsHandler(std::string_view source, std::vector<PackageRelationship>* out)
      : source_(source), out_(out) {}

  void StartElement(std::string_view name, const XmlAttributes& attributes) override {
    if (name != "Relationship") return;
    const char* id = attributes.Get("Id");
    const char* type = attributes.Get("Type");
    const char* target = attributes.Get("Target");
    const char* mode = attributes.Get("TargetMode");
    if (id == nullptr || type == nullptr || target == nullptr) return;
    PackageRelationship relationship;
    relationship.id = id;
    const std::string_view type_uri(type);
    const std::size_t slash = type_uri.rfind('/');
    relationship.type =
        std::string(slash == std::string_view::npos ? type_uri : type_uri.substr(slash + 1));
    if (mode == nullptr || std::string_view(mode) != "External") {
      relationship.target = ResolvePartName(source_, target);
    }
    out_->push_back(std::move(relationship));
  }
  void EndElement(std::string_view) override {}
  void Text(std::string_view) override {}

 private:
  std::string source_;
  std::vector<PackageRelationship>* out_;
};

}  // namespace

bool ParseXmlPart(ZipArchive& zip, std::string_view part, XmlHandler& handler, std::string* error) {
  XmlReader reader(handler);
  const bool read = zip.Read(
      part, [&reader](std::string_view piece) { return reader.Feed(piece, false); }, error);
  if (read && reader.Feed({}, true)) return true;
  if (!reader.error().empty()) *error = reader.error() + " in " + std::string(part);
  return false;
}

bool ReadRelationships(ZipArchive& zip, std::string_view part,
                       std::vector<PackageRelationship>* relationships, std::string* error) {
  relationships->clear();
  const std::size_t slash = part.rfind('/');
  const std::string folder(slash == std::string_view::npos ? std::string_view()
                                                           : part.substr(0, slash + 1));
  const std::string name(slash == std::string_view::npos ? part : part.substr(slash + 1));
  const std::string rels = folder + "_rels/" + name + ".rels";
  if (!zip.Has(rels)) return true;
  RelationshipsHandler handler(part, relationships);
  return ParseXmlPart(zip, rels, handler, error);
}

std::string ResolvePartName(std::string_view source, std::string_view target) {
  std::string path;
  if (!target.empty() && target.front() == '/') {
    path = std::string(target.substr(1));
  } else {
    const std::size_t slash = source.rfind('/');
    path = std::string(slash == std::string_view::npos ? std::string_view()
                                                       : source.substr(0, slash + 1));
    path.append(target);
  }
  // Drop "." and climb "..".
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    const std::string segment = path.substr(start, end - start);
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string out;
  for (const std::string& segment : segments) {
    if (!out.empty()) out += '/';
    out += segment;
  }
  return out;
}

bool FindWorkbookPart(ZipArchive& zip, std::string_view fallback, std::string* part,
                      std::string* error) {
  std::vector<PackageRelationship> relationships;
  if (!ReadRelationships(zip, "", &relationships, error)) return false;
  for (const PackageRelationship& r : relationships) {
    if (r.type == "officeDocument" && !r.target.empty() && zip.Has(r.target)) {
      *part = r.target;
      return true;
    }
  }
  if (zip.Has(fallback)) {
    *part = std::string(fallback);
    return true;
  }
  *error = "no workbook part in the package";
  return false;
}

}  // namespace velmora::spreadsheet
