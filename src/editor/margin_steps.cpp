#include "editor/margin_steps.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "model/value_rules.h"

namespace drovik::editor {
namespace {

// Values from which a step is 0.6 or 0.5 mm instead of 0.4 mm. The two 0.5 tables mirror
// each other except that the up table holds 22.4 where the down table holds 22.8.
constexpr double kUp06[] = {113.7, 126.4, 139.1, 151.8, 164.5, 177.2,
                            189.9, 202.6, 215.3, 228.0, 240.7, 253.4};
constexpr double kUp05[] = {
    -24.6, -22.9, -21.2, -19.1, -17.4, -15.7, -14.0, -11.9, -10.2, -8.5,  -6.4,  -4.7,  -3.0,
    -1.3,  0.8,   2.5,   4.2,   5.9,   8.0,   9.7,   11.4,  13.5,  15.2,  16.9,  18.6,  20.7,
    22.4,  24.1,  26.2,  27.9,  29.6,  31.3,  33.4,  35.1,  36.8,  38.9,  40.6,  42.3,  44.0,
    46.1,  47.8,  49.5,  51.6,  53.3,  55.0,  56.7,  58.8,  60.5,  62.2,  64.3,  66.0,  67.7,
    69.4,  71.5,  73.2,  74.9,  77.0,  78.7,  80.4,  82.1,  84.2,  86.4,  87.6,  89.7,  91.4,
    93.1,  94.8,  96.9,  98.6,  100.3, 102.4, 104.1, 105.8, 107.5, 111.2, 118.8, 120.1, 121.4,
    123.9, 129.0, 131.5, 132.8, 134.1, 136.6, 141.7, 144.2, 145.5, 146.8, 149.3, 154.4, 156.9,
    158.2, 159.5, 162.0, 167.1, 169.6, 170.9, 172.2, 174.7, 179.8, 182.3, 183.6, 184.9, 187.4,
    192.5, 195.0, 196.3, 197.6, 200.1, 205.2, 207.7, 209.0, 210.3, 212.8, 217.9, 220.4, 221.7,
    223.0, 225.5, 230.6, 233.1, 234.4, 235.7, 238.2, 243.3, 245.8, 247.1, 248.4, 250.9};
constexpr double kDown06[] = {114.3, 127.0, 139.7, 152.4, 165.1, 177.8,
                              190.5, 203.2, 215.9, 228.6, 241.3, 254.0};
constexpr double kDown05[] = {
    -24.1, -22.4, -20.7, -18.6, -16.9, -15.2, -13.5, -11.4, -9.7,  -8.0,  -5.9,  -4.2,  -2.5,
    -0.8,  1.3,   3.0,   4.7,   6.4,   8.5,   10.2,  11.9,  14.0,  15.7,  17.4,  19.1,  21.2,
    22.8,  24.6,  26.7,  28.4,  30.1,  31.8,  33.9,  35.6,  37.3,  39.4,  41.1,  42.8,  44.5,
    46.6,  48.3,  50.0,  52.1,  53.8,  55.5,  57.2,  59.3,  61.0,  62.7,  64.8,  66.5,  68.2,
    69.9,  72.0,  73.7,  75.4,  77.5,  79.2,  80.9,  82.6,  84.7,  86.9,  88.1,  90.2,  91.9,
    93.6,  95.3,  97.4,  99.1,  100.8, 102.9, 104.6, 106.3, 108.0, 111.7, 119.3, 120.6, 121.9,
    124.4, 129.5, 132.0, 133.3, 134.6, 137.1, 142.2, 144.7, 146.0, 147.3, 149.8, 154.9, 157.4,
    158.7, 160.0, 162.5, 167.6, 170.1, 171.4, 172.7, 175.2, 180.3, 182.8, 184.1, 185.4, 187.9,
    193.0, 195.5, 196.8, 198.1, 200.6, 205.7, 208.2, 209.5, 210.8, 213.3, 218.4, 220.9, 222.2,
    223.5, 226.0, 231.1, 233.6, 234.9, 236.2, 238.7, 243.8, 246.3, 247.6, 248.9, 251.4};
static_assert(std::size(kUp05) == 129 && std::size(kDown05) == 129);

constexpr int kMinSeconds = 5;
constexpr int kMaxSeconds = 255;

template <std::size_t N>
bool holds(const double (&table)[N], double value) {
  return std::find(std::begin(table), std::end(table), value) != std::end(table);
}

double stepSize(double value, bool up) {
  if (holds(up ? kUp06 : kDown06, value)) return 0.6;
  if (holds(up ? kUp05 : kDown05, value)) return 0.5;
  return 0.4;
}

std::string oneDecimal(double value) {
  std::array<char, 32> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 1);
  return std::string(buffer.data(), result.ptr);
}

}  // namespace

double leadingNumber(std::string_view text) {
  // Locale-independent: a desktop locale with a decimal comma must not change the reading.
  double value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (first != last && *first == '+') ++first;
  const auto result = std::from_chars(first, last, value, std::chars_format::general);
  if (result.ec != std::errc{} || !std::isfinite(value)) return 0;
  return value;
}

std::string stepMargin(std::string_view text, bool up) {
  const double value = leadingNumber(text);
  double next = up ? value + stepSize(value, true) : value - stepSize(value, false);
  if (up && next > rules::kMaxMarginMm) next = rules::kMinMarginMm;
  if (!up && next < rules::kMinMarginMm) next = rules::kMaxMarginMm;
  return oneDecimal(next);
}

std::string stepSeconds(std::string_view text, bool up) {
  const double value = leadingNumber(text);
  const int seconds = static_cast<int>(std::clamp(value, 0.0, double{kMaxSeconds}));
  return std::to_string(std::clamp(seconds + (up ? 1 : -1), kMinSeconds, kMaxSeconds));
}

}  // namespace drovik::editor
