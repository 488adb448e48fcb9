// The velmora command: vCard jobs from the shell, on the library's public
// object model.
#include <cstdio>
#include <string>

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
             R"(Commands read vCard and CSV files ('-' is standard input). Global options may
come before or after the command; 'velmora COMMAND --help' shows a command's
own.

Examples:
  velmora convert contacts.vcf -o contacts-3.0.vcf
  velmora convert contacts.vcf --split --vcard-version 2.1 -o cards/
  velmora convert contacts.vcf -o contacts.csv --csv-dialect google
  velmora convert outlook-export.csv -o contacts.vcf
  velmora detect outlook-export.csv
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
  3    an input could not be read, or is neither vCard nor CSV of a known
       address book
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
