#include "catalogue_commands.h"

#include <cstdio>
#include <memory>
#include <vector>

#include <velmora/card_converter.h>
#include <velmora/unicode.h>

#include "converter_session.h"
#include "json_writer.h"
#include "text_width.h"

namespace velmora::cli {
namespace {

constexpr char kHeadersExamples[] = R"(Examples:
  velmora headers
  velmora headers --dialect google
  velmora headers --locale 1031
  velmora --json headers --dialect outlook365

The columns in the address book's order, with their codes (a Google group's
columns, "E-mail * - Type", stand for every instance: "E-mail 1 - Type",
"E-mail 2 - Type", ...). With --locale, Outlook's column names in that
language as well.)";

constexpr char kLocalesExamples[] = R"(Examples:
  velmora locales
  velmora --json locales

The Outlook languages whose CSV exports are read and written: their LID
(for --locale and --input-locale), code page and header names.)";

struct Column {
  std::int32_t code = 0;
  std::string name, alternative, localised;
  bool grouped = false;
};

std::string Text(ICsvHeader& header, HRESULT (ICsvHeader::*getter)(std::u16string*)) {
  std::u16string value;
  (header.*getter)(&value);
  return Utf16ToUtf8(value);
}

ECsvType DialectOf(const std::string& name) {
  if (name == "outlook365") return vlmcsvOutlook365v2;
  if (name == "outlook365-v1") return vlmcsvOutlook365v1;
  if (name == "google") return vlmcsvGoogle;
  if (name == "google2") return vlmcsvGoogle2;
  if (name == "nokia") return vlmcsvNokia;
  return vlmcsvOutlook;
}

std::string CodeText(const Column& column) {
  if (!column.grouped) return std::to_string(column.code);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(column.code));
  return text;
}

}  // namespace

CLI::App* AddHeadersCommand(CLI::App& app, HeadersOptions* options) {
  CLI::App* command = app.add_subcommand("headers", "List the CSV columns of an address book");
  command
      ->add_option("--dialect", options->dialect,
                   "outlook (default), outlook365, outlook365-v1, google, google2 or nokia")
      ->check(
          CLI::IsMember({"outlook", "outlook365", "outlook365-v1", "google", "google2", "nokia"}));
  command->add_option("--locale", options->locale,
                      "Also Outlook's names in this language, by LID (see 'velmora locales')");
  command->footer(kHeadersExamples);
  return command;
}

int RunHeaders(const HeadersOptions& options, const GlobalOptions& global) {
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;
  std::shared_ptr<ICsvOutlookLocale> locale;
  if (!options.locale.empty()) {
    std::u16string lid;
    if (FAILED(library->get_CsvOutlookLocalesItem(Variant(Utf8ToUtf16(options.locale)), &locale)) ||
        !locale || FAILED(locale->get_LID(&lid)) || lid.empty()) {
      PrintUsageError(
          "unknown Outlook locale '" + options.locale + "'; 'velmora locales' lists them",
          "headers");
      return kExitUsage;
    }
  }
  std::shared_ptr<ICsvHeaders> headers;
  status = library->GetCsvHeaders2(DialectOf(options.dialect), &headers);
  std::int32_t count = 0;
  if (FAILED(status) || !headers || FAILED(headers->get_Count(&count))) {
    PrintError({}, "cannot list the columns", FAILED(status) ? status : E_GENERIC_FAILURE);
    return kExitInput;
  }
  std::vector<Column> columns;
  for (std::int32_t i = 0; i < count; ++i) {
    std::shared_ptr<ICsvHeader> header;
    if (FAILED(headers->get_Item(i, &header)) || !header) continue;
    Column column;
    header->get_Code(&column.code);
    header->get_IsGroupped(&column.grouped);
    column.name = Text(*header, &ICsvHeader::get_Name);
    column.alternative = Text(*header, &ICsvHeader::get_NameAlt);
    if (locale) {
      std::u16string name;
      locale->FindHeaderName(column.code, &name);
      column.localised = Utf16ToUtf8(name);
    }
    columns.push_back(std::move(column));
  }

  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "headers").Member("exit", kExitOk);
    json.Member("dialect", options.dialect).Member("locale", options.locale);
    json.Key("headers").BeginArray();
    for (const Column& c : columns) {
      json.BeginObject().Member("code", static_cast<std::int64_t>(c.code));
      json.Member("name", c.name).Member("alternative", c.alternative);
      json.Member("grouped", c.grouped);
      if (locale) json.Member("localName", c.localised);
      json.EndObject();
    }
    json.EndArray().EndObject();
    std::fputs(json.str().c_str(), stdout);
    return kExitOk;
  }
  std::vector<std::vector<std::string>> table;
  table.push_back({"CODE", "NAME", "ALSO READ AS"});
  if (locale) table.front().push_back("NAME IN " + options.locale);
  for (const Column& c : columns) {
    table.push_back({CodeText(c), c.name, c.alternative.empty() ? "-" : c.alternative});
    if (locale) table.back().push_back(c.localised.empty() ? "-" : c.localised);
  }
  PrintColumns(table);
  return kExitOk;
}

CLI::App* AddLocalesCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand("locales", "List the Outlook languages of CSV exports");
  command->footer(kLocalesExamples);
  return command;
}

int RunLocales(const GlobalOptions& global) {
  HRESULT status = S_OK;
  std::shared_ptr<ICardConverter> library = OpenConverter(global, &status, true);
  if (!library) return kExitInput;
  std::int32_t count = 0;
  library->get_CsvOutlookLocalesCount(&count);
  struct Row {
    std::string lid, name, code_page_name;
    std::int32_t code_page = 0, headers = 0;
  };
  std::vector<Row> rows;
  for (std::int32_t i = 0; i < count; ++i) {
    std::shared_ptr<ICsvOutlookLocale> locale;
    if (FAILED(library->get_CsvOutlookLocalesItem(Variant(i), &locale)) || !locale) continue;
    Row row;
    std::u16string text;
    locale->get_LID(&text);
    row.lid = Utf16ToUtf8(text);
    locale->get_DisplayName(&text);
    row.name = Utf16ToUtf8(text);
    locale->get_CodepageDisplayName(&text);
    row.code_page_name = Utf16ToUtf8(text);
    locale->get_Codepage(&row.code_page);
    locale->get_HeaderCount(&row.headers);
    rows.push_back(std::move(row));
  }
  const int exit_status = rows.empty() ? kExitIncomplete : kExitOk;
  if (rows.empty()) {
    PrintWarning(global, SupportedOutlookHeadersPath(), "no Outlook language could be loaded");
  }
  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "locales").Member("exit", exit_status);
    json.Key("locales").BeginArray();
    for (const Row& r : rows) {
      json.BeginObject().Member("lid", r.lid).Member("name", r.name);
      json.Member("codePage", r.code_page).Member("codePageName", r.code_page_name);
      json.Member("headers", r.headers).EndObject();
    }
    json.EndArray().EndObject();
    std::fputs(json.str().c_str(), stdout);
    return exit_status;
  }
  std::vector<std::vector<std::string>> table = {{"LID", "LANGUAGE", "CODE PAGE", "HEADERS"}};
  for (const Row& r : rows) {
    table.push_back({r.lid, r.name, std::to_string(r.code_page) + " (" + r.code_page_name + ")",
                     std::to_string(r.headers)});
  }
  if (!rows.empty()) PrintColumns(table);
  return exit_status;
}

}  // namespace velmora::cli
