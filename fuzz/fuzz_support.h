// What the fuzz targets share: a failing check that libFuzzer reports as a crash.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace drovik::fuzz {

[[noreturn]] void fail(const char* condition, const char* file, int line, std::string_view detail);

inline std::string_view asText(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace drovik::fuzz

// Aborts, so that libFuzzer keeps the input, when an expectation about the code fails.
#define FUZZ_CHECK(condition, detail) \
  ((condition) ? void() : ::drovik::fuzz::fail(#condition, __FILE__, __LINE__, (detail)))
