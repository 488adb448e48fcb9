// Runs the built velmora command as a child process with its own temporary
// home: the log, the registry store and temporary files stay inside it, and
// the system settings the library reads are pinned.
#pragma once

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace velmora::clitest {

using test::CountOf;
using test::ListFolder;
using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct RunOptions {
  // Standard input: the content of this file; /dev/null when empty.
  std::filesystem::path stdin_file{};
  // Sends SIGINT this long after the start.
  std::optional<std::chrono::milliseconds> interrupt_after{};
};

struct RunResult {
  int exit_code = -1;  // -1 when a signal ended the process
  int signal = 0;
  std::string out;
  std::string err;
  double seconds = 0;
};

class CliRunner {
 public:
  // `home` holds the child's XDG folders, registry store and TMPDIR.
  explicit CliRunner(const std::filesystem::path& home);

  RunResult Run(const std::vector<std::string>& arguments, const RunOptions& options = {}) const;

  const std::filesystem::path& home() const { return home_; }
  std::filesystem::path LogFolder() const;
  std::filesystem::path TmpFolder() const;

 private:
  std::filesystem::path home_;
};

std::filesystem::path CliPath();
std::filesystem::path SamplesDir();
std::filesystem::path CorpusDir();

}  // namespace velmora::clitest
