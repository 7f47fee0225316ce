#include "files/read_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace drovik {

Result<std::string> readFileUpTo(const std::filesystem::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec))
    return Error{"ファイルではありません: " + path.string()};
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Error{"ファイルを読み込めません: " + path.string() + "（" + std::strerror(errno) + "）"};
  std::string bytes;
  char buffer[65536];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxBytes)
      return Error{"ファイルが大きすぎます: " + path.string() + "（" + std::to_string(maxBytes) +
                   "バイトまで）"};
  }
  if (in.bad()) return Error{"ファイルを読み込めません: " + path.string()};
  return bytes;
}

}  // namespace drovik
