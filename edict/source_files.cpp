#include "source_files.h"

#include <cerrno>
#include <fstream>
#include <string>
#include <utility>

#include "errors.h"

namespace renkomi {

EucJpDecoder::EucJpDecoder() : cd_(iconv_open("UTF-8", "EUC-JP")) {
  if (cd_ == reinterpret_cast<iconv_t>(-1)) {
    throw Error("EUC-JP の文字コードを変換できません (" + SystemReason(errno) + ")");
  }
}

namespace {
const iconv_t kClosed = reinterpret_cast<iconv_t>(-1);
}  // namespace

EucJpDecoder::EucJpDecoder(EucJpDecoder&& other) noexcept : cd_(other.cd_), in_(std::move(other.in_)) {
  other.cd_ = kClosed;
}

EucJpDecoder::~EucJpDecoder() {
  if (cd_ != kClosed) iconv_close(cd_);
}

bool EucJpDecoder::Decode(std::string_view eucJp, std::string& utf8) {
  iconv(cd_, nullptr, nullptr, nullptr, nullptr);
  in_.assign(eucJp.begin(), eucJp.end());
  // Two EUC-JP bytes never make more than three UTF-8 bytes.
  utf8.resize(in_.size() * 2 + 4);
  char* inPtr = in_.data();
  std::size_t inLeft = in_.size();
  char* outPtr = utf8.data();
  std::size_t outLeft = utf8.size();
  if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
    return false;
  }
  utf8.resize(utf8.size() - outLeft);
  return true;
}

void ReadLines(const std::filesystem::path& path, const ReadProgress& progress,
               const std::function<void(std::string_view raw)>& line) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw ReadFileError(path.string(), SystemReason(errno));
  std::error_code noSize;
  std::uintmax_t size = progress ? std::filesystem::file_size(path, noSize) : 0;
  if (noSize) size = 0;
  // Often enough for a smooth bar, seldom enough to cost nothing.
  constexpr std::size_t kLinesPerReport = 4096;
  std::size_t lines = 0;
  std::string raw;
  while (std::getline(file, raw)) {
    if (progress && ++lines % kLinesPerReport == 0) progress(static_cast<std::uintmax_t>(file.tellg()), size);
    std::string_view text = raw;
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    line(text);
  }
  if (file.bad()) throw ReadFileError(path.string());
  if (progress) progress(size, size);
}

}  // namespace renkomi
