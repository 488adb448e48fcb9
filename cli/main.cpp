// The velmora command.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <string>
#include <vector>

#include <velmora/encodings.h>
#include <velmora/unicode.h>
#include <velmora/version.h>

namespace {

int ListEncodings(const std::string& file, bool all) {
  std::vector<velmora::EncodingInfo> list;
  velmora::HRESULT status = velmora::ListSupportedEncodings(file, &list);
  if (status != velmora::S_OK) {
    std::fprintf(stderr, "velmora: %s: %s (status 0x%X)\n",
                 file.empty() ? (velmora::LibraryDirectory() + "/supportedEncodings.txt").c_str()
                              : file.c_str(),
                 status > 0 ? "some lines are not valid" : "cannot read the encodings list",
                 static_cast<unsigned>(status));
  }
  std::size_t width = 0;
  for (const auto& e : list) width = std::max(width, velmora::Utf16ToUtf8(e.display_name).size());
  std::printf("%-*s  %-14s  %s\n", static_cast<int>(width), "ENCODING", "CHARSET", "CODE PAGE");
  for (const auto& e : list) {
    if (!e.visible && !all) continue;
    const std::string name = velmora::Utf16ToUtf8(e.display_name);
    const std::string charset = e.system_locale ? "-" : velmora::Utf16ToUtf8(e.charset);
    const std::string code_page = e.system_locale ? "system" : std::to_string(e.code_page);
    std::printf("%-*s  %-14s  %s\n", static_cast<int>(width), name.c_str(), charset.c_str(),
                code_page.c_str());
  }
  return status < 0 ? 3 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"velmora - converts contacts between vCard, CSV and spreadsheets"};
  app.set_version_flag("-V,--version", std::string("velmora ") + velmora::VersionString());
  app.require_subcommand(0, 1);

  auto* encodings = app.add_subcommand("encodings", "List the encodings Velmora can write");
  std::string encodings_file;
  bool all = false;
  encodings->add_option("--file", encodings_file, "Read this encodings list instead");
  encodings->add_flag("--all", all, "Also list hidden encodings");

  CLI11_PARSE(app, argc, argv);

  if (encodings->parsed()) return ListEncodings(encodings_file, all);
  std::printf("%s", app.help().c_str());
  return 0;
}
