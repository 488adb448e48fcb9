// The part of the Open Packaging Conventions that workbook packages need:
// relationships (which part is the workbook, which parts are its sheets,
// shared strings and styles) and part names resolved from their targets.
// Shared by the .xlsx/.xlsm and .xlsb readers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "spreadsheet/xml_reader.h"
#include "spreadsheet/zip_archive.h"

namespace velmora::spreadsheet {

struct PackageRelationship {
  std::string id;
  std::string type;    // the last segment of the type URI: "worksheet", "styles", ...
  std::string target;  // the part name, resolved; empty for external targets
};

// Streams an XML part through `handler`. False with a message when the
// part is missing or damaged, its XML malformed, or the handler stopped.
bool ParseXmlPart(ZipArchive& zip, std::string_view part, XmlHandler& handler, std::string* error);

// The relationships of `part` ("" for the package's own), from
// "<folder>/_rels/<name>.rels"; none when that part is missing.
bool ReadRelationships(ZipArchive& zip, std::string_view part,
                       std::vector<PackageRelationship>* relationships, std::string* error);

// The part name `target` refers to from `source` (absolute targets start
// with "/"; "../" climbs a folder).
std::string ResolvePartName(std::string_view source, std::string_view target);

// The workbook part: the package's office-document relationship, or
// `fallback` when the package has none but holds that part.
bool FindWorkbookPart(ZipArchive& zip, std::string_view fallback, std::string* part,
                      std::string* error);

}  // namespace velmora::spreadsheet
