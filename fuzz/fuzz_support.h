// What the fuzz targets share: a failing check that libFuzzer reports as a crash, and a
// scratch directory for targets that go through files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace drovik::fuzz {

[[noreturn]] void fail(const char* condition, const char* file, int line, std::string_view detail);

// One directory per process, under $TMPDIR; scripts/fuzz points that into the build tree.
const std::filesystem::path& scratchDirectory();

void writeBytes(const std::filesystem::path& path, std::string_view bytes);

inline std::span<const std::uint8_t> asBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

inline std::string_view asText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace drovik::fuzz

// Aborts, so that libFuzzer keeps the input, when an expectation about the code fails.
#define FUZZ_CHECK(condition, detail) \
  ((condition) ? void() : ::drovik::fuzz::fail(#condition, __FILE__, __LINE__, (detail)))
