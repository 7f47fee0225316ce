#include "hostile/file_checks.h"

#include <algorithm>

#include "support/temp_dir.h"

namespace drovik::hostile {
namespace fs = std::filesystem;
namespace {

std::string excerpt(const std::string& bytes, std::size_t at) {
  const std::size_t from = at < 16 ? 0 : at - 16;
  std::string shown;
  for (char c : bytes.substr(from, 48)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown += c;
    } else {
      static const char kHex[] = "0123456789ABCDEF";
      shown += "\\x";
      shown += kHex[byte >> 4];
      shown += kHex[byte & 15];
    }
  }
  return "\"" + shown + "\"";
}

bool endsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

FolderSnapshot snapshotFolder(const fs::path& dir) {
  FolderSnapshot snapshot;
  for (const auto& entry : fs::recursive_directory_iterator(dir)) {
    const std::string name = fs::relative(entry.path(), dir).string();
    if (endsWith(name, ".lock")) continue;
    if (entry.is_symlink()) {
      snapshot[name] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      snapshot[name] = test::readFile(entry.path());
    } else if (entry.is_directory()) {
      snapshot[name] = "(folder)";
    }
  }
  return snapshot;
}

::testing::AssertionResult sameBytes(const std::string& expected, const std::string& actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  const auto mismatch =
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end());
  const auto at = static_cast<std::size_t>(mismatch.first - expected.begin());
  return ::testing::AssertionFailure()
         << "sizes " << expected.size() << " and " << actual.size() << ", first difference at "
         << at << ": expected " << excerpt(expected, at) << ", got " << excerpt(actual, at);
}

::testing::AssertionResult sameFolder(const FolderSnapshot& expected,
                                      const FolderSnapshot& actual) {
  for (const auto& [name, bytes] : expected) {
    const auto found = actual.find(name);
    if (found == actual.end()) return ::testing::AssertionFailure() << name << " is gone";
    if (auto same = sameBytes(bytes, found->second); !same) return same << " in " << name;
  }
  for (const auto& [name, bytes] : actual)
    if (!expected.count(name)) return ::testing::AssertionFailure() << name << " appeared";
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult keepsAround(const std::string& prefix, const std::string& suffix,
                                       const std::string& actual) {
  if (actual.size() < prefix.size() + suffix.size())
    return ::testing::AssertionFailure() << "the file shrank to " << actual.size() << " bytes";
  if (auto same = sameBytes(prefix, actual.substr(0, prefix.size())); !same)
    return same << " before the saved section";
  if (auto same = sameBytes(suffix, actual.substr(actual.size() - suffix.size())); !same)
    return same << " after the saved section";
  return ::testing::AssertionSuccess();
}

}  // namespace drovik::hostile
