// One input of a command: a file as named on the command line, or standard
// input ("-") copied into a private temporary file, so that the library
// reads both the same way (byte-order marks, UTF-16, charset detection).
#pragma once

#include <string>

namespace velmora::cli {

class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(InputFile&& other) noexcept;
  InputFile& operator=(InputFile&& other) noexcept;
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  enum class OpenResult { kOk, kUnreadable, kCancelled };
  // Prepares `argument`. For a file only a folder is caught here (the
  // library reports everything else); `error` receives the reason.
  OpenResult Open(const std::string& argument, std::string* error);

  // The path the library reads.
  const std::string& path() const { return path_; }
  // The name for messages: the argument, or "standard input".
  const std::string& name() const { return name_; }
  bool is_stdin() const { return temporary_; }

  // True when the file holds nothing but white space (and a byte-order
  // mark): such an input has nothing to do rather than being invalid.
  bool IsBlank() const;
  // True when a line among the first 64 KB starts (after blanks) with
  // BEGIN:VCARD, in any case; UTF-16 is read by dropping its zero bytes.
  // This tells vCard from CSV when no option does.
  bool HasVCardBegin() const;

 private:
  void Remove();

  std::string path_;
  std::string name_;
  bool temporary_ = false;
  // The copy of standard input, already unlinked so that nothing is left
  // behind however the process ends; read through /proc/self/fd. -1 when
  // the copy has a name of its own instead.
  int spool_fd_ = -1;
};

}  // namespace velmora::cli
