#include "cli/cli_support.h"

#include <filesystem>
#include <iostream>

namespace drovik::cli {

void reportError(const std::string& message) { std::cerr << "drovik-cli: " << message << '\n'; }

Result<ProfileStore> openStore(const Args& args) {
  std::filesystem::path dir;
  if (auto option = args.option("--data-dir")) {
    dir = *option;
    std::error_code ec;
    if (!std::filesystem::is_directory(dir, ec))
      return Error{"データフォルダがありません: " + dir.string()};
  } else {
    auto found = defaultProgramDirectory();
    if (!found) return found.error();
    dir = *found;
  }
  return ProfileStore(StorePaths::inDirectory(dir));
}

bool expectOperands(const Args& args, std::size_t count, const char* usage) {
  if (args.operands.size() == count) return true;
  reportError(std::string("引数の数が違います。使い方: drovik-cli ") + usage);
  return false;
}

}  // namespace drovik::cli

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace drovik::cli {

Status writeBinaryFile(const std::filesystem::path& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file)
    return Error{"ファイルを作成できません: " + path.string() + "（" + std::strerror(errno) + "）"};
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const int savedErrno = errno;
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed)
    return Error{"ファイルに書き込めません: " + path.string() + "（" +
                 std::strerror(written ? errno : savedErrno) + "）"};
  return {};
}

Result<std::string> readBinaryFile(const std::filesystem::path& path, std::size_t maxBytes) {
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

Result<NamedProfile> openNamedProfile(const Args& args, const std::string& name) {
  auto store = openStore(args);
  if (!store) return store.error();
  NamedProfile found{std::move(*store), {}, -1};
  if (Status s = found.store.readSlotNames(found.model.slots); !s) return s.error();
  found.slot = findSlotByName(found.model.slots, name);
  if (found.slot < 0) return Error{"設定名「" + name + "」は登録されていません。"};
  return found;
}

void printWarnings(const std::vector<std::string>& warnings) {
  for (std::string warning : warnings) {
    for (char& c : warning)
      if (c == '\n' || c == '\r') c = ' ';
    std::cerr << "drovik-cli: 警告: " << warning << '\n';
  }
}

}  // namespace drovik::cli
