#include "command/record_layout.h"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <vector>

namespace drovik::layout {
namespace {

namespace cat = catalogue;

struct PaperRow {
  std::string_view item;  // resolved to the catalogue position at start-up
  std::uint8_t code, qualifier, initialLow;
  int mPosition;
};

// clang-format off
constexpr PaperRow kPaperRows[kPaperRecordCount] = {
    {"FormLenFront",       0x00, 0x00, 0x00, 9},
    {"LinePitchFront",     0x01, 0x00, 0x00, 11},
    {"PrintSpeedFront",    0x02, 0x00, 0x00, 1},
    {"LineLenFront",       0x03, 0x00, 0x01, 14},
    {"AgaFront",           0xC1, 0x00, 0x01, 2},
    {"SkpPrfFront",        0x05, 0x00, 0x00, 16},
    {"PrDirFront",         0x06, 0x00, 0x01, 8},
    {"SpRocketFront",      0xC0, 0x00, 0x01, 0},
    {"TearOffFront",       0x0D, 0x00, 0x00, 18},
    {"GraphFront",         0x0E, 0x00, 0x00, 0},
    {"CopyEnhFront",       0x0B, 0x00, 0x00, 5},
    {"TopMFront",          0x11, 0x00, 0x00, 20},
    {"RenPressFront",      0x93, 0x00, 0x01, 0},
    {"ChgStepRollerFront", 0x94, 0x00, 0x02, 0},
    {"EofPrnFront",        0xC2, 0x00, 0x00, 0},
    {"FormLenRear",        0x00, 0x01, 0x00, 10},
    {"LinePitchRear",      0x01, 0x01, 0x00, 12},
    {"PrintSpeedRear",     0x02, 0x01, 0x00, 0},
    {"LineLenRear",        0x03, 0x01, 0x01, 15},
    {"AgaRear",            0xC1, 0x01, 0x01, 3},
    {"SkpPrfRear",         0x05, 0x01, 0x00, 17},
    {"PrDirRear",          0x06, 0x01, 0x01, 0},
    {"SpRocketRear",       0xC0, 0x01, 0x01, 0},
    {"TearOffRear",        0x0D, 0x01, 0x00, 0},
    {"GraphRear",          0x0E, 0x01, 0x00, 0},
    {"CopyEnhRear",        0x0B, 0x01, 0x00, 6},
    {"TopMRear",           0x11, 0x01, 0x00, 21},
    {"RenPressRear",       0x93, 0x01, 0x01, 0},
    {"ChgStepRollerRear",  0x94, 0x01, 0x02, 0},
    {"EofPrnRear",         0xC2, 0x01, 0x00, 0},
    {"LinePitchCut",       0x01, 0x02, 0x00, 13},
    {"PrintSpeedCut",      0x02, 0x02, 0x00, 0},
    {"AgaCut",             0xC1, 0x02, 0x01, 4},
    {"PrDirCut",           0x06, 0x02, 0x01, 0},
    {"GraphCut",           0x0E, 0x02, 0x00, 0},
    {"CopyEnhCut",         0x0B, 0x02, 0x00, 7},
    {"TopMCutUpper",       0x11, 0x02, 0x00, 19},
    {"TopMCutLower",       0x11, 0x03, 0x00, 0},
};

struct CommonRow {
  std::string_view item;  // resolved to the catalogue position at start-up
  std::uint8_t code, qualifier, initialLow;
  int ghjkPosition, mPosition;
};

constexpr CommonRow kCommonRows[kCommonRecordCount] = {
    {"Emul",              0x0C, 0x00, 0x03, 1, 1},
    {"Buzzer",            0x04, 0x00, 0x00, 2, 3},
    {"FormMode",          0x07, 0x00, 0x00, 20, 0},
    {"CharMode",          0xF0, 0x00, 0x00, 3, 4},
    {"Smoothing",         0xF1, 0x00, 0x00, 4, 5},
    {"AsfEject",          0xC6, 0x00, 0x00, 21, 2},
    {"AsfEject",          0xC6, 0x01, 0x00, 0, 2},  // second record: M layout only
    {"AsfAga",            0xC9, 0x00, 0x01, 22, 0},
    {"TearOffBack",       0x14, 0x00, 0x00, 23, 0},
    {"AutoOnline",        0x15, 0x00, 0x00, 24, 0},
    {"PaperChgCmd",       0x16, 0x00, 0x00, 25, 6},
    {"CheCheN",           0x17, 0x00, 0x00, 5, 7},
    {"Small",             0x18, 0x00, 0x00, 26, 8},
    {"AgaHPos",           0x92, 0x00, 0x00, 28, 0},
    {"Ecomode",           0x1A, 0x00, 0x01, 29, 0},
    {"ImgWrap",           0x40, 0x00, 0x01, 6, 9},
    {"LevelE",            0x41, 0x00, 0x00, 7, 10},
    {"CodePage",          0x42, 0x00, 0x00, 8, 11},
    {"JpCharSet",         0x48, 0x00, 0x01, 9, 12},
    {"Jis90",             0x44, 0x00, 0x01, 10, 13},
    {"HeiseiFont",        0x0F, 0x00, 0x00, 11, 14},
    {"DefaultAnk",        0x45, 0x00, 0x01, 12, 15},
    {"CharPitch",         0x51, 0x00, 0x00, 27, 16},
    {"CharCode",          0x52, 0x00, 0x00, 13, 17},
    {"InternationalChar", 0x53, 0x00, 0x08, 14, 18},
    {"AutoLf",            0x54, 0x00, 0x00, 15, 19},
    {"HighFont",          0xF3, 0x00, 0x01, 16, 20},
    {"LqQuality",         0xF4, 0x00, 0x01, 17, 21},
    {"InitCmd",           0x55, 0x00, 0x00, 18, 22},
    {"TofFf",             0x56, 0x00, 0x00, 19, 23},
};
// clang-format on

int itemNamed(std::string_view name) {
  const auto ref = cat::findItem(name);
  return ref ? ref->index : -1;
}

// Record indices sorted by a 1-based position; records at position 0 are left out and
// records sharing a position keep their table order.
template <class Position>
std::vector<int> orderBy(int count, Position position) {
  std::vector<int> order;
  for (int r = 0; r < count; ++r)
    if (position(r) > 0) order.push_back(r);
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return position(a) < position(b); });
  return order;
}

// Every record of an image being listed is looked up by its code and qualifier: a table of
// all of them rather than a search through the rows. No row has a qualifier above 3.
constexpr int kQualifiers = 4;
static_assert(std::all_of(std::begin(kPaperRows), std::end(kPaperRows),
                          [](const PaperRow& row) { return row.qualifier < kQualifiers; }));
static_assert(std::all_of(std::begin(kCommonRows), std::end(kCommonRows),
                          [](const CommonRow& row) { return row.qualifier < kQualifiers; }));

// Row index by code * kQualifiers + qualifier, -1 where no row has them; the first row wins.
template <class Row, std::size_t N>
std::array<std::int8_t, 256 * kQualifiers> recordsByCode(const Row (&rows)[N]) {
  static_assert(N <= 127);
  std::array<std::int8_t, 256 * kQualifiers> byCode;
  byCode.fill(-1);
  for (std::size_t r = N; r-- > 0;)
    byCode[rows[r].code * kQualifiers + rows[r].qualifier] = static_cast<std::int8_t>(r);
  return byCode;
}

}  // namespace

const std::array<PaperRecordLayout, kPaperRecordCount>& paperRecords() {
  static const auto records = [] {
    std::array<PaperRecordLayout, kPaperRecordCount> out{};
    for (int r = 0; r < kPaperRecordCount; ++r) {
      const PaperRow& row = kPaperRows[r];
      out[r] = {row.code, row.qualifier, itemNamed(row.item), row.initialLow, row.mPosition};
    }
    return out;
  }();
  return records;
}

const std::array<CommonRecordLayout, kCommonRecordCount>& commonRecords() {
  static const auto records = [] {
    std::array<CommonRecordLayout, kCommonRecordCount> out{};
    for (int r = 0; r < kCommonRecordCount; ++r) {
      const CommonRow& row = kCommonRows[r];
      out[r] = {row.code,       row.qualifier,    itemNamed(row.item),
                row.initialLow, row.ghjkPosition, row.mPosition};
    }
    return out;
  }();
  return records;
}

std::span<const int> mPaperOrder() {
  static const auto order =
      orderBy(kPaperRecordCount, [](int r) { return kPaperRows[r].mPosition; });
  return order;
}

std::span<const int> ghjkCommonOrder() {
  static const auto order =
      orderBy(kCommonRecordCount, [](int r) { return kCommonRows[r].ghjkPosition; });
  return order;
}

std::span<const int> mCommonOrder() {
  static const auto order =
      orderBy(kCommonRecordCount, [](int r) { return kCommonRows[r].mPosition; });
  return order;
}

std::span<const int> commonRecordsOfItem(int item) {
  static const auto byItem = [] {
    std::array<std::vector<int>, cat::kCommonItemCount> out;
    for (int r = 0; r < kCommonRecordCount; ++r) {
      const int owner = commonRecords()[r].item;
      if (owner >= 0) out[owner].push_back(r);
    }
    return out;
  }();
  if (item < 0 || item >= cat::kCommonItemCount) return {};
  return byItem[item];
}

bool mCarriesPaperItem(int item) {
  return item >= 0 && item < kPaperRecordCount && kPaperRows[item].mPosition > 0;
}

bool mCarriesCommonItem(int item) {
  for (int r : commonRecordsOfItem(item))
    if (commonRecords()[r].mPosition > 0) return true;
  return false;
}

int paperRecordWith(std::uint8_t code, std::uint8_t qualifier) {
  static const auto byCode = recordsByCode(kPaperRows);
  return qualifier < kQualifiers ? byCode[code * kQualifiers + qualifier] : -1;
}

int commonRecordWith(std::uint8_t code, std::uint8_t qualifier) {
  static const auto byCode = recordsByCode(kCommonRows);
  return qualifier < kQualifiers ? byCode[code * kQualifiers + qualifier] : -1;
}

}  // namespace drovik::layout
