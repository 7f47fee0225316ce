// Turns a profile's stored values into the printer's code bytes (written into the record
// templates of the command image) and into the readable texts that reports show, and
// computes the length field of the command for the given include flags.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "command/display_texts.h"
#include "command/record_layout.h"
#include "files/status.h"
#include "model/catalogue.h"
#include "model/profile.h"

namespace drovik {

// GHJK: the old models (all users, names, interface). M: the new model (initial user only).
enum class CommandVariant { Ghjk, M };

// Exactly "8630-GHJK" selects the GHJK variant; any other model type is the M model.
CommandVariant variantOf(std::string_view modelType);
// The model type a command of the variant is for: "8630-GHJK" or "8630-M".
std::string_view modelTypeOf(CommandVariant variant);

// One 4-byte record of the command: function code, qualifier, big-endian value.
struct SettingRecord {
  std::uint8_t code = 0;
  std::uint8_t qualifier = 0;
  std::uint8_t high = 0;
  std::uint8_t low = 0;

  std::array<std::uint8_t, 4> bytes() const { return {code, qualifier, high, low}; }
  friend bool operator==(const SettingRecord&, const SettingRecord&) = default;
};

// Every record a command can carry, with its value bytes.
struct RecordTemplates {
  static constexpr int kAddressCount = InterfaceRecord::kAddressCount;

  std::array<std::array<SettingRecord, layout::kPaperRecordCount>, catalogue::kUserCount>
      paper;  // indexed by catalogue paper item
  std::array<std::array<SettingRecord, layout::kCommonRecordCount>, catalogue::kUserCount>
      common;  // indexed as layout::commonRecords()
  SettingRecord selectedUser;
  std::array<std::array<std::uint8_t, layout::kNameByteCount>, catalogue::kUserCount> userName{};
  SettingRecord ifSel;
  SettingRecord ifChgTime;
  SettingRecord parallel;
  SettingRecord dhcp;
  // IP address, subnet mask, default gateway: octets 1-2 and 3-4.
  std::array<std::array<SettingRecord, 2>, kAddressCount> address;
  SettingRecord errDisp;

  // The records as the printer's tables start out, before any value is written.
  static RecordTemplates initial();
};

struct ValueCodes {
  RecordTemplates records;
  DisplayTexts texts;
  std::uint16_t length = 0;  // header length field L for the include flags
  // One operator-readable text per value that could not be coded as stored.
  std::vector<std::string> warnings;
};

// What a coding fills besides the records, the length and the warnings: the display texts
// that the settings list and the comparison show, or none, for a command (saved or sent),
// which carries only the records.
enum class ValueTexts { Filled, Left };

// Codes and texts of every value the variant carries, starting from the initial records and
// empty texts. A value outside its table keeps the initial record value and an empty text,
// and adds a warning. Fails only for the M variant when the initial user is not 1..10.
Result<ValueCodes> ApplyValueCodes(const SettingProfile& profile, const CheckFlagSet& flags,
                                   CommandVariant variant, ValueTexts texts = ValueTexts::Filled);

// The length field L of a command carrying the included items in the variant's layout.
std::uint16_t CommandLength(const CheckFlagSet& flags, std::int32_t selectUser,
                            CommandVariant variant);

}  // namespace drovik
