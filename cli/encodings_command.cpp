#include "encodings_command.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include <velmora/encodings.h>
#include <velmora/unicode.h>

#include "converter_session.h"
#include "json_writer.h"
#include "text_width.h"

namespace velmora::cli {
namespace {

constexpr char kExamples[] = R"(Examples:
  velmora encodings
  velmora encodings --all
  velmora --json encodings

'velmora convert --charset NAME' takes a CHARSET or an ENCODING name from
this list (without regard to case), '--codepage N' a CODE PAGE.)";

}  // namespace

CLI::App* AddEncodingsCommand(CLI::App& app, EncodingsOptions* options) {
  CLI::App* command = app.add_subcommand("encodings", "List the encodings Velmora can write");
  command->add_option("--file", options->file, "Read this encodings list instead");
  command->add_flag("--all", options->all, "Also list hidden encodings");
  command->footer(kExamples);
  return command;
}

int RunEncodings(const EncodingsOptions& options, const GlobalOptions& global) {
  const std::string file = options.file.empty() ? SupportedEncodingsPath() : options.file;
  std::vector<EncodingInfo> list;
  const HRESULT status = ListSupportedEncodings(file, &list);
  int exit_status = kExitOk;
  if (FAILED(status)) {
    const std::string meaning = StatusMeaning(status);
    PrintError(file, "cannot read the encodings list" + (meaning.empty() ? "" : ": " + meaning),
               status);
    exit_status = kExitInput;
  } else if (status > 0) {
    PrintWarning(global, file, std::to_string(status) + " lines are not valid and are left out");
    exit_status = kExitIncomplete;
  }

  if (global.json) {
    JsonWriter json;
    json.BeginObject().Member("command", "encodings").Member("exit", exit_status);
    json.Key("encodings").BeginArray();
    for (const EncodingInfo& entry : list) {
      if (!entry.visible && !options.all) continue;
      json.BeginObject();
      json.Member("name", Utf16ToUtf8(entry.display_name));
      if (entry.system_locale) {
        json.Key("charset").Null();
        json.Key("codePage").Null();
      } else {
        json.Member("charset", Utf16ToUtf8(entry.charset));
        json.Member("codePage", entry.code_page);
      }
      json.Member("visible", entry.visible);
      json.Member("systemLocale", entry.system_locale);
      json.EndObject();
    }
    json.EndArray().EndObject();
    std::fputs(json.str().c_str(), stdout);
    return exit_status;
  }

  std::size_t name_width = DisplayWidth("ENCODING");
  std::size_t charset_width = DisplayWidth("CHARSET");
  for (const EncodingInfo& entry : list) {
    if (!entry.visible && !options.all) continue;
    name_width = std::max(name_width, DisplayWidth(Utf16ToUtf8(entry.display_name)));
    charset_width = std::max(charset_width, DisplayWidth(Utf16ToUtf8(entry.charset)));
  }
  const auto row = [&](const std::string& name, const std::string& charset,
                       const std::string& code_page) {
    const std::string line = PadToWidth(name, name_width) + "  " +
                             PadToWidth(charset, charset_width) + "  " + code_page + "\n";
    std::fputs(line.c_str(), stdout);
  };
  row("ENCODING", "CHARSET", "CODE PAGE");
  for (const EncodingInfo& entry : list) {
    if (!entry.visible && !options.all) continue;
    row(Utf16ToUtf8(entry.display_name), entry.system_locale ? "-" : Utf16ToUtf8(entry.charset),
        entry.system_locale ? "0 (system)" : std::to_string(entry.code_page));
  }
  return exit_status;
}

}  // namespace velmora::cli
