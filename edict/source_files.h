// What the three word sources share: Debian installs each as EUC-JP text, read
// line by line so that one damaged line costs only itself, with a report of the
// bytes read for the first start's progress bar.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace renkomi {

// Bytes of a source file read so far, and the file's size.
using ReadProgress = std::function<void(std::uintmax_t done, std::uintmax_t total)>;

// EUC-JP to UTF-8 with glibc's iconv, one line at a time.
class EucJpDecoder {
 public:
  EucJpDecoder();
  ~EucJpDecoder();
  EucJpDecoder(EucJpDecoder&& other) noexcept;
  EucJpDecoder& operator=(EucJpDecoder&&) = delete;

  // False when the line is not valid EUC-JP.
  bool Decode(std::string_view eucJp, std::string& utf8);

 private:
  iconv_t cd_;
  std::string in_;
};

// Calls `line` for each line of the file, without its line end (LF or CR LF).
// `progress`, when given, hears now and then how many bytes have been read, and
// last the whole size. Throws Error when the file cannot be opened or read.
void ReadLines(const std::filesystem::path& path, const ReadProgress& progress,
               const std::function<void(std::string_view raw)>& line);

}  // namespace renkomi
