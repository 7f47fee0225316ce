// The printer's fixed record layout: function code, qualifier and initial value of every
// per-user setting record, the order in which each command layout emits them, and the
// codes of the framing, user and interface records. Value codes, image assembly and the
// image dump all read these tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "model/catalogue.h"

namespace drovik::layout {

inline constexpr int kPaperRecordCount = 38;   // one per paper-path item, catalogue order
inline constexpr int kCommonRecordCount = 30;  // AsfEject has two records
inline constexpr int kMItemCount = 44;         // items an M-layout command can carry
inline constexpr int kNameByteCount = 10;
inline constexpr std::size_t kRecordSize = 4;
inline constexpr std::size_t kNameRecordSize = 6 + kNameByteCount;
inline constexpr std::size_t kHeaderSize = 11;
inline constexpr std::size_t kMaxImageSize = 2955;

inline constexpr std::array<std::uint8_t, 6> kLeadingCommand = {0x1B, 0x7E, 0x12, 0x00, 0x01, 0x11};
inline constexpr std::array<std::uint8_t, 3> kSettingsCommand = {0x1B, 0x7E, 0x4B};
inline constexpr std::array<std::uint8_t, 4> kTerminator = {0xFF, 0xFE, 0x00, 0x00};

// Function codes of the records that are not per-user settings.
inline constexpr std::uint8_t kUserCode = 0x10;  // 10 00 selected user, 10 FF user selection
inline constexpr std::uint8_t kUserSelectQualifier = 0xFF;
inline constexpr std::uint8_t kEndOfUsers = 0xFF;  // value of 10 FF 00 FF
inline constexpr std::uint8_t kNameCode = 0x19;
inline constexpr std::uint8_t kIfSelCode = 0x98;
inline constexpr std::uint8_t kIfChgTimeCode = 0x99;
inline constexpr std::uint8_t kParallelCode = 0x9A;
inline constexpr std::uint8_t kNetworkCode = 0x9B;  // qualifier 00 start, FF end
inline constexpr std::uint8_t kNetworkEndQualifier = 0xFF;
inline constexpr std::uint8_t kDhcpQualifier = 0x01;
inline constexpr std::uint8_t kFirstAddressQualifier = 0x02;  // 02..07: two records per address
inline constexpr std::uint8_t kErrDispCode = 0x9C;

struct PaperRecordLayout {
  std::uint8_t code;
  std::uint8_t qualifier;
  int item;  // catalogue paper item (the record index itself)
  std::uint8_t initialLow;
  int mPosition;  // 1-based position in the M layout's paper-path run, 0: never emitted
};

struct CommonRecordLayout {
  std::uint8_t code;
  std::uint8_t qualifier;
  int item;  // catalogue common item
  std::uint8_t initialLow;
  int ghjkPosition;  // 1-based position in the GHJK common run, 0: never emitted
  int mPosition;     // 1-based position in the M common run, 0: never emitted
};

// Indexed by catalogue paper item.
const std::array<PaperRecordLayout, kPaperRecordCount>& paperRecords();
const std::array<CommonRecordLayout, kCommonRecordCount>& commonRecords();

// Record indices in emission order.
std::span<const int> mPaperOrder();      // paper records of the M layout
std::span<const int> ghjkCommonOrder();  // common records of the GHJK layout
std::span<const int> mCommonOrder();     // common records of the M layout (both AsfEject)

// The common records that carry one catalogue common item (one, or two for AsfEject).
std::span<const int> commonRecordsOfItem(int item);

// Whether the M layout carries a paper-path or common item.
bool mCarriesPaperItem(int item);
bool mCarriesCommonItem(int item);

// Paper or common record with this function code and qualifier; -1 when none.
int paperRecordWith(std::uint8_t code, std::uint8_t qualifier);
int commonRecordWith(std::uint8_t code, std::uint8_t qualifier);

}  // namespace drovik::layout
