#include "cli_runner.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::clitest {
namespace {

// Waits (at most 30 s) until process `pid` catches SIGINT, as its
// /proc/<pid>/status "SigCgt" mask tells.
void WaitForSigintHandler(pid_t pid) {
  const std::string status_file = "/proc/" + std::to_string(pid) + "/status";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(status_file);
    std::string line;
    while (std::getline(in, line)) {
      if (line.rfind("State:", 0) == 0 && line.find('Z') != std::string::npos) return;  // exited
      if (line.rfind("SigCgt:", 0) != 0) continue;
      const unsigned long long mask = std::stoull(line.substr(7), nullptr, 16);
      if ((mask >> (SIGINT - 1)) & 1) return;
    }
    if (!in.is_open()) return;  // gone already
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

CliRunner::CliRunner(const std::filesystem::path& home) : home_(home) {
  std::filesystem::create_directories(home_ / "data");
  std::filesystem::create_directories(home_ / "config");
  std::filesystem::create_directories(home_ / "tmp");
}

std::filesystem::path CliRunner::LogFolder() const {
  return home_ / "data" / "Zorva" / "velmora-cli";
}
std::filesystem::path CliRunner::TmpFolder() const { return home_ / "tmp"; }

RunResult CliRunner::Run(const std::vector<std::string>& arguments,
                         const RunOptions& options) const {
  // The environment: the parent's, with everything that could reach outside
  // the temporary home pointed into it, and the system settings pinned.
  std::map<std::string, std::string> env;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string text = *entry;
    const std::size_t eq = text.find('=');
    if (eq != std::string::npos) env[text.substr(0, eq)] = text.substr(eq + 1);
  }
  env["HOME"] = home_.string();
  env["XDG_DATA_HOME"] = (home_ / "data").string();
  env["XDG_CONFIG_HOME"] = (home_ / "config").string();
  env["VELMORA_REGISTRY_USER"] = (home_ / "config" / "registry.ini").string();
  env["VELMORA_REGISTRY_MACHINE"] = (home_ / "config" / "machine.ini").string();
  env["TMPDIR"] = TmpFolder().string();
  env["VELMORA_ANSI_CODEPAGE"] = "1252";
  env["VELMORA_LIST_SEPARATOR"] = ",";
  env["TZ"] = "Europe/Berlin";
  env["LC_ALL"] = "C.UTF-8";
  std::vector<std::string> env_text;
  for (const auto& [name, value] : env) env_text.push_back(name + "=" + value);
  std::vector<char*> envp;
  for (std::string& text : env_text) envp.push_back(text.data());
  envp.push_back(nullptr);

  std::vector<std::string> argv_text = {CliPath().string()};
  argv_text.insert(argv_text.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& text : argv_text) argv.push_back(text.data());
  argv.push_back(nullptr);

  // Output goes into files: no pipe can fill up and block the child.
  static int counter = 0;
  const std::string tag = std::to_string(getpid()) + "-" + std::to_string(++counter);
  const std::filesystem::path out_file = home_ / ("stdout-" + tag);
  const std::filesystem::path err_file = home_ / ("stderr-" + tag);
  const std::string in_file =
      options.stdin_file.empty() ? "/dev/null" : options.stdin_file.string();

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, in_file.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out_file.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, err_file.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error(std::string("posix_spawn: ") + std::strerror(spawned));

  if (options.interrupt_after) {
    // The delay counts from the moment the command can take Ctrl-C: on a
    // loaded machine (or under the sanitizers) starting up alone may take
    // longer than the delay, and an earlier SIGINT would simply kill it.
    WaitForSigintHandler(pid);
    std::this_thread::sleep_for(*options.interrupt_after);
    kill(pid, SIGINT);
  }
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  RunResult result;
  result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
  result.out = ReadFile(out_file);
  result.err = ReadFile(err_file);
  std::filesystem::remove(out_file);
  std::filesystem::remove(err_file);
  return result;
}

std::filesystem::path CliPath() { return VELMORA_CLI_PATH; }
std::filesystem::path SamplesDir() { return VELMORA_SAMPLES_DIR; }
std::filesystem::path CorpusDir() { return VELMORA_CORPUS_DIR; }

}  // namespace velmora::clitest
