// What the object model does with the inputs address books really produce:
// empty, truncated, binary, huge, mis-encoded or missing files, and
// destinations that cannot be written. Every row must end with a clear
// status and a log line, never a crash or a leak (the suite also runs under
// the address sanitizer), and a destination that existed before a failed
// write keeps its content.
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "automation/automation_test_support.h"
#include "support/case_file.h"

namespace velmora::test {
namespace {

namespace fs = std::filesystem;

constexpr char kProduct[] = "BadInput";
constexpr char kPrevious[] = "PREVIOUS CONTENT\r\n";

std::string Card21(std::string_view extra = "") {
  std::string card = "BEGIN:VCARD\r\nVERSION:2.1\r\nN:Doe;John;;;\r\nFN:John Doe\r\n";
  card.append(extra).append("END:VCARD\r\n");
  return card;
}

// The log level that makes the information lines (control characters
// fixed) visible as well: level 2 for this test's product key.
void EnableInformationLines() {
  const fs::path hive = SandboxDir() / "registry-user.ini";
  std::string text;
  std::error_code ec;
  if (fs::exists(hive, ec)) text = ReadFile(hive);
  const std::string key = std::string("[Software\\Zorva\\") + kProduct + "]";
  if (text.find(key) != std::string::npos) return;
  text += "\n" + key + "\n\"LogLevel\"=dword:00000002\n";
  WriteFile(hive, text);
}

std::string LogOf(std::string_view module) { return LogText(kProduct, module); }

std::shared_ptr<ICardConverter> Converter(std::string_view module) {
  EnableInformationLines();
  return NewConverter(U16(kProduct), U16(std::string(module)));
}

// Every one of `lines` is logged; none expects no line at all.
void ExpectLines(const std::string& module, const std::vector<std::string>& lines) {
  const std::string log = LogOf(module);
  for (const std::string& line : lines) EXPECT_TRUE(Has(log, line)) << line << "\n" << log;
  EXPECT_TRUE(!lines.empty() || !Has(log, "] in ")) << log;
}

// The rows of tests/automation/data/bad_sources.txt: a clear status, the
// log lines and no lost destination.
void CheckSource(const FileCase& row) {
  TempDir dir;
  const fs::path source = dir / "source.vcf";
  if (row.Has("bytes")) {
    WriteFile(source, row["bytes"]);
  } else if (row["source"] == "folder") {
    fs::create_directory(source);
  }
  const fs::path destination = dir / "destination.vcf";
  WriteFile(destination, kPrevious);

  // One converter (one log) per call, so each call's lines are its own.
  const std::string load_module = "load-" + row.name;
  auto loader = Converter(load_module);
  ASSERT_TRUE(loader);
  std::shared_ptr<ICards> cards;
  EXPECT_EQ(loader->LoadFile(U16(source), 0, false, nullptr, &cards), StatusNamed(row["load"]));
  EXPECT_EQ(std::max(Count(cards), 0), row.Number("cards"));
  cards.reset();
  loader.reset();
  ExpectLines(load_module, row.All("load logs"));

  const std::string convert_module = "convert-" + row.name;
  auto converter = Converter(convert_module);
  std::int32_t converted = -1, copied = -1, errors = -1;
  const HRESULT status = converter->ConvertFile(U16(source), U16(destination), &converted, &copied,
                                                &errors, 2.1, 1252, Variant(), true);
  EXPECT_EQ(status, StatusNamed(row["convert"]));
  // Every count is set, whatever the outcome.
  EXPECT_GE(std::min({converted, copied, errors}), 0);
  if (status == S_OK) {
    // The new content is complete: it loads into the cards the source gave.
    std::shared_ptr<ICards> again;
    ASSERT_EQ(converter->LoadFile(U16(destination), 0, false, nullptr, &again), S_OK);
    EXPECT_EQ(std::pair(Count(again), converted),
              std::pair(row.Number("cards"), row.Number("cards")));
  } else {
    EXPECT_EQ(ReadFile(destination), kPrevious);
  }
  // No temporary file is left beside the destination.
  std::vector<std::string> expected = {"destination.vcf"};
  if (fs::exists(source)) expected.push_back("source.vcf");
  EXPECT_EQ(ListFolder(dir.path()), expected);
  converter.reset();
  ExpectLines(convert_module, row.All("convert logs"));
}

TEST(BadSource, ClearStatusLogLineAndNoLostDestination) {
  for (const FileCase& row : ReadCases("automation/data/bad_sources.txt")) {
    SCOPED_TRACE(row.name);
    CheckSource(row);
  }
}

struct Written {
  HRESULT status;
  std::int32_t converted = -1;
};

// A 2.1 card converted to 3.0, so the destination is written anew.
Written ConvertTo(ICardConverter& converter, const fs::path& source, const fs::path& destination) {
  Written w{};
  std::int32_t copied = 0, errors = 0;
  w.status = converter.ConvertFile(U16(source), U16(destination), &w.converted, &copied, &errors,
                                   3.0, 65001, Variant(), true);
  return w;
}

TEST(BadInputBig, FiftyMegabytePhoto) {
  TempDir dir;
  const fs::path source = dir / "photo.vcf";
  constexpr std::size_t kBase64 = 50u << 20;  // characters, a multiple of 4
  {
    std::ofstream out(source, std::ios::binary);
    out << "BEGIN:VCARD\r\nVERSION:2.1\r\nFN:Photo\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n";
    // 76 characters per indented line, as writers fold it.
    std::string line = " ";
    for (int i = 0; i < 19; ++i) line += "/9j/";
    line += "\r\n";
    std::size_t left = kBase64;
    for (; left >= 76; left -= 76) out << line;
    out << " " << std::string(left, 'A') << "\r\n\r\nEND:VCARD\r\n";
  }
  auto converter = Converter("big-photo");
  {
    std::shared_ptr<ICards> cards;
    ASSERT_EQ(converter->LoadFile(U16(source), 0, false, nullptr, &cards), S_OK);
    std::shared_ptr<ICardContact> contact;
    ASSERT_EQ(cards->ItemContact(0, &contact), S_OK);
    EXPECT_EQ(Get(*contact, &ICardContact::get_Photo).size(), kBase64 / 4 * 3);
  }

  // To 3.0: the photo is decoded and encoded again.
  const Written w = ConvertTo(*converter, source, dir / "out.vcf");
  EXPECT_EQ(std::pair(w.status, w.converted), std::pair(S_OK, 1));
  EXPECT_GT(fs::file_size(dir / "out.vcf"), kBase64);
}

TEST(BadInputPermissions, UnreadableFile) {
  if (::geteuid() == 0) GTEST_SKIP() << "root reads every file; permissions cannot be tested";
  TempDir dir;
  const fs::path source = dir / "locked.vcf";
  WriteFile(source, Card21());
  ::chmod(source.c_str(), 0);
  const fs::path destination = dir / "destination.vcf";
  WriteFile(destination, kPrevious);
  auto converter = Converter("unreadable");
  std::shared_ptr<ICards> cards;
  EXPECT_EQ(converter->LoadFile(U16(source), 0, false, nullptr, &cards),
            HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));
  std::int32_t converted = 0, copied = 0, errors = 0;
  EXPECT_EQ(converter->ConvertFile(U16(source), U16(destination), &converted, &copied, &errors),
            HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED));
  EXPECT_EQ(ReadFile(destination), kPrevious);
  converter.reset();
  EXPECT_TRUE(Has(LogOf("unreadable"), "File.Create"));
  ::chmod(source.c_str(), 0600);
}

TEST(BadInputDestination, FailsWithTheSystemStatusAndTheStep) {
  const struct {
    const char* name;
    // Builds the destination's surroundings under `dir` and returns its path.
    fs::path (*make)(const fs::path& dir);
    HRESULT status;
    const char* log;
  } kRows[] = {
      {"MissingFolder", [](const fs::path& dir) { return dir / "no-such-folder" / "out.vcf"; },
       HRESULT_FROM_WIN32(win32::ERROR_PATH_NOT_FOUND), "CreateFile("},
      {"DestinationIsAFolder",
       [](const fs::path& dir) {
         fs::create_directory(dir / "folder.vcf");
         WriteFile(dir / "folder.vcf" / "inside", "keep");
         return dir / "folder.vcf";
       },
       HRESULT_FROM_WIN32(win32::ERROR_ACCESS_DENIED), "WriteFile("},
  };
  for (const auto& row : kRows) {
    SCOPED_TRACE(row.name);
    TempDir dir;
    const fs::path source = dir / "source.vcf";
    WriteFile(source, Card21());
    const fs::path destination = row.make(dir.path());
    const std::string module = std::string("destination-") + row.name;
    auto converter = Converter(module);
    const Written w = ConvertTo(*converter, source, destination);
    EXPECT_EQ(w.status, row.status);
    EXPECT_EQ(w.converted, 1);  // the card was fine; only the write failed
    // Nothing was created, and a folder in the way keeps what it holds.
    EXPECT_FALSE(fs::is_regular_file(destination));
    if (fs::is_directory(destination)) {
      EXPECT_EQ(ReadFile(destination / "inside"), "keep");
    }
    converter.reset();
    const std::string log = LogOf(module);
    EXPECT_TRUE(Has(log, row.log) && Has(log, destination.string())) << log;
  }
}

// Mounts a read-only tmpfs at `folder` in a private mount namespace of this
// process (needs the right to mount); the reason when it cannot.
std::string MountReadOnly(const fs::path& folder) {
  static const bool isolated = ::unshare(CLONE_NEWNS) == 0 &&
                               ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  if (!isolated) return "no private mount namespace";
  const unsigned long flags = MS_RDONLY | MS_NOSUID | MS_NODEV;
  if (::mount("velmora-test", folder.c_str(), "tmpfs", flags, "size=1m") == 0) return "";
  return std::string("mount tmpfs: ") + std::strerror(errno);
}

// Root ignores permission bits: a read-only file system stops it.
TEST(BadInputDestination, ReadOnly) {
  TempDir dir;
  const fs::path source = dir / "source.vcf", folder = dir / "read-only";
  WriteFile(source, Card21());
  fs::create_directory(folder);
  const bool root = ::geteuid() == 0;
  if (!root) {
    ::chmod(folder.c_str(), 0555);
  } else if (const std::string why = MountReadOnly(folder); !why.empty()) {
    GTEST_SKIP() << "cannot mount a read-only file system: " << why;
  }
  auto converter = Converter("read-only");
  const fs::path destination = folder / "out.vcf";
  const Written w = ConvertTo(*converter, source, destination);
  const std::vector<std::string> left = ListFolder(folder);
  root ? ::umount2(folder.c_str(), MNT_DETACH) : ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(w.status,
            HRESULT_FROM_WIN32(root ? win32::ERROR_WRITE_PROTECT : win32::ERROR_ACCESS_DENIED));
  EXPECT_TRUE(left.empty());
  converter.reset();
  EXPECT_TRUE(Has(LogOf("read-only"), "CreateFile(" + destination.string() + ") failed"));
}

// A destination that fills up (a file size limit stands in for a full
// disk) keeps its old content, and a save into it is an I/O error.
TEST(BadInputDestination, WriteFailingMidway) {
  TempDir dir;
  // A card whose 3.0 form is far larger than the limit.
  const fs::path source = dir / "source.vcf";
  WriteFile(source, Card21("NOTE:" + std::string(1u << 20, 'n') + "\r\n"));
  const fs::path folder = dir / "small-disk";
  fs::create_directory(folder);
  const fs::path destination = folder / "out.vcf";
  WriteFile(destination, kPrevious);

  auto converter = Converter("full-disk");
  Written w;
  Saved saving;
  {
    FileSizeLimit limit(256u << 10);
    w = ConvertTo(*converter, source, destination);
    saving = SaveCards(*converter, ReadFile(source), folder, true);
  }
  EXPECT_TRUE(FAILED(w.status)) << w.status;
  EXPECT_EQ(w.converted, 1);
  EXPECT_EQ(ReadFile(destination), kPrevious);
  EXPECT_TRUE(FAILED(saving.status) || saving.status == S_FALSE) << saving.status;
  EXPECT_EQ(std::pair(saving.saved, saving.io_errors), std::pair(0, 1));
  EXPECT_EQ(ListFolder(folder), std::vector<std::string>{"out.vcf"});
  converter.reset();
  const std::string log = LogOf("full-disk");
  EXPECT_TRUE(Has(log, "WriteFile(" + destination.string() + ") failed")) << log;
}

}  // namespace
}  // namespace velmora::test
