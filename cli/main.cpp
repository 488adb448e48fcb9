// The velmora command: vCard jobs from the shell, on the library's public
// object model.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <velmora/version.h>

#include <CLI/CLI.hpp>

#include "catalogue_commands.h"
#include "cli_common.h"
#include "convert_command.h"
#include "converter_session.h"
#include "count_command.h"
#include "dedupe_command.h"
#include "detect_command.h"
#include "encodings_command.h"
#include "interrupt.h"
#include "preview_command.h"
#include "validate_command.h"

namespace {

using namespace velmora::cli;

std::string MainFooter() {
  return std::string(
             R"(Commands read vCard, CSV and workbook (.xls, .xlsx, .xlsm, .xlsb) files ('-'
is standard input). Global options may come before or after the command;
'velmora COMMAND --help' shows a command's own.

Examples:
  velmora convert contacts.vcf -o contacts-3.0.vcf
  velmora convert contacts.vcf --split --vcard-version 2.1 -o cards/
  velmora convert contacts.vcf -o contacts.csv --csv-dialect google
  velmora convert outlook-export.csv -o contacts.vcf
  velmora convert contacts.vcf -o contacts.xlsx
  velmora detect outlook-export.csv book.xlsx
  velmora headers --dialect google
  velmora preview contacts.vcf
  velmora dedupe --client phone.vcf --server cloud.vcf -o changes.vcf
  velmora count *.vcf
  velmora validate *.vcf
  velmora encodings

Exit status:
  0    all done
  1    done with skipped cards or errors, or nothing to do
  2    usage error
  3    an input could not be read, or is neither vCard nor CSV (or a
       workbook's sheet) of a known address book
  4    the output could not be written
  130  cancelled with Ctrl-C (nothing is left half-written)

Log: )") +
         LogLocationHelp() +
         R"(;
<name> is --log-name (default velmora). The level is --log-level, else the
value "LogLevel" under [Software\Zorva\velmora-cli] in the registry store
(${XDG_CONFIG_HOME:-~/.config}/velmora/registry.ini), else 1.)";
}

// The subcommand named on the command line, for the pointer to its help.
std::string ParsedCommand(const CLI::App& app) {
  for (const CLI::App* command : app.get_subcommands()) return command->get_name();
  return {};
}

// Letters to change, add or remove to turn one word into the other.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The first argument that is no option, when it names no command:
// "unknown command 'conver'; did you mean 'convert'?". Empty otherwise.
std::string UnknownCommand(const CLI::App& app, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word.empty() || word[0] == '-') {
      // The values of the global options that take one.
      if (word == "--log-level" || word == "--log-name") ++i;
      continue;
    }
    std::string best;
    std::size_t best_distance = 3;  // suggest only near misses
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->get_name() == word) return {};
      const std::size_t distance = EditDistance(word, command->get_name());
      if (distance < best_distance) {
        best_distance = distance;
        best = command->get_name();
      }
    }
    return "unknown command '" + word + "'" +
           (best.empty() ? "; 'velmora --help' lists them" : "; did you mean '" + best + "'?");
  }
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  // First of all: a Ctrl-C that comes while the libraries load or the command
  // line is read must still end the job cleanly, not kill the process.
  InstallInterruptHandler();
  CLI::App app{"velmora - converts contacts between vCard, CSV and spreadsheets"};
  app.name("velmora");
  GlobalOptions global;
  app.set_version_flag("-V,--version", std::string("velmora ") + velmora::VersionString());
  app.add_option("--log-level", global.log_level,
                 "Log detail: 0 nothing, 1 errors and warnings, 2 information, 3 detail")
      ->check(CLI::Range(0, 3));
  app.add_option("--log-name", global.log_name, "File name of the log, without .log");
  app.add_flag("-q,--quiet", global.quiet, "No progress, summary line or warnings");
  app.add_flag("--json", global.json, "Machine-readable result on standard output");
  app.fallthrough();  // global options also after the command
  app.require_subcommand(0, 1);
  app.footer(MainFooter());

  ConvertOptions convert;
  PreviewOptions preview;
  DedupeOptions dedupe;
  CountOptions count;
  ValidateOptions validate;
  EncodingsOptions encodings;
  DetectOptions detect;
  HeadersOptions headers;
  CLI::App* convert_command = AddConvertCommand(app, &convert);
  CLI::App* preview_command = AddPreviewCommand(app, &preview);
  CLI::App* dedupe_command = AddDedupeCommand(app, &dedupe);
  CLI::App* count_command = AddCountCommand(app, &count);
  CLI::App* validate_command = AddValidateCommand(app, &validate);
  CLI::App* encodings_command = AddEncodingsCommand(app, &encodings);
  CLI::App* detect_command = AddDetectCommand(app, &detect);
  CLI::App* headers_command = AddHeadersCommand(app, &headers);
  CLI::App* locales_command = AddLocalesCommand(app);

  // "velmora help" and "velmora help COMMAND" as --help.
  if (argc >= 2 && std::string(argv[1]) == "help") {
    if (argc == 2) {
      std::fputs(app.help().c_str(), stdout);
      return kExitOk;
    }
    for (const CLI::App* command : app.get_subcommands({})) {
      if (command->get_name() == argv[2]) {
        std::fputs(command->help().c_str(), stdout);
        return kExitOk;
      }
    }
  }
  if (const std::string unknown = UnknownCommand(app, argc, argv); !unknown.empty()) {
    PrintUsageError(unknown);
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error);  // --help, --version
    PrintUsageError(error.what(), ParsedCommand(app));
    return kExitUsage;
  }
  if (global.log_name.empty() || global.log_name.find('/') != std::string::npos ||
      global.log_name == "." || global.log_name == "..") {
    PrintUsageError("--log-name takes a plain file name");
    return kExitUsage;
  }

  if (convert_command->parsed()) return RunConvert(convert, global);
  if (preview_command->parsed()) return RunPreview(preview, global);
  if (dedupe_command->parsed()) return RunDedupe(dedupe, global);
  if (count_command->parsed()) return RunCount(count, global);
  if (validate_command->parsed()) return RunValidate(validate, global);
  if (encodings_command->parsed()) return RunEncodings(encodings, global);
  if (detect_command->parsed()) return RunDetect(detect, global);
  if (headers_command->parsed()) return RunHeaders(headers, global);
  if (locales_command->parsed()) return RunLocales(global);
  PrintUsageError(
      "a command is needed: convert, preview, dedupe, count, validate, encodings, detect, "
      "headers or locales");
  return kExitUsage;
}
