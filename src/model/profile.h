// The current profile: its values in record form and text form, the include flags of the
// settings tree, the write flags that tell the store which keys to save, and the table of
// registered profile slots.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/catalogue.h"

namespace drovik {

namespace cat = catalogue;

struct PaperRecord {
  std::array<std::int32_t, cat::kPaperItemCount> index{};  // unused at margin positions
  std::array<std::string, cat::kMarginCount> margin;       // TopMFront, TopMRear, cut upper, lower
};

struct CommonRecord {
  std::array<std::int32_t, cat::kCommonItemCount> index{};  // catalogue order
};

struct InterfaceRecord {
  static constexpr int kAddressCount = 3;  // IP address, subnet mask, default gateway
  std::int32_t ifSel = 0;
  std::string ifChgTimeText;
  std::int32_t ifChgTime = 0;
  std::int32_t parallel = 0;
  std::int32_t dhcp = 0;
  std::array<std::array<std::string, 4>, kAddressCount> octetText;
  std::array<std::array<std::int32_t, 4>, kAddressCount> octet{};
  std::int32_t errDisp = 0;

  // The index of a choice item (IfSel, Parallel, DHCP, ErrDisp).
  std::int32_t& choice(int item);
  std::int32_t choice(int item) const;
  static int addressOf(int item) { return item - cat::kIpAddress; }
};

// Record form: what editors, value codes and the NVRAM decoder work on.
struct SettingProfile {
  std::int32_t selectUser = 0;
  std::array<std::string, cat::kUserCount> userName;
  std::array<PaperRecord, cat::kUserCount> paper;
  std::array<CommonRecord, cat::kUserCount> common;
  InterfaceRecord iface;

  static SettingProfile defaults();
};

// The decimal text of a stored number, as the store writes it, into `text` (its buffer kept):
// a profile's load writes some 700 of them.
void setNumberText(std::string& text, std::int32_t value);

// Text form: one string per stored key, exactly what the store writes.
struct ProfileText {
  std::string selectUser;
  std::array<std::string, cat::kUserCount> userName;
  std::array<std::array<std::string, cat::kPaperItemCount>, cat::kUserCount> paper;
  std::array<std::array<std::string, cat::kCommonItemCount>, cat::kUserCount> common;
  std::array<std::string, cat::kInterfaceKeyCount> iface;  // in interfaceKeys() order

  static ProfileText of(const SettingProfile& values);
  const std::string& at(const cat::ValueKey& key) const;
};

struct CheckFlagSet {
  std::array<std::int32_t, cat::kCheckNodeCount> state{};
  std::array<std::string, cat::kCheckNodeCount> text;
  std::array<std::string, cat::kCheckNodeCount> snapshot;

  CheckFlagSet();
  bool included(int node) const { return state[node] == 1; }
};

struct ValueWriteFlags {
  bool selectUser = false;
  std::array<bool, cat::kUserCount> userName{};
  std::array<std::array<bool, cat::kPaperItemCount>, cat::kUserCount> paper{};
  std::array<std::array<bool, cat::kCommonItemCount>, cat::kUserCount> common{};
  std::array<bool, cat::kInterfaceItemCount> iface{};

  bool at(const cat::ValueKey& key) const;
};

using CheckFlagWriteFlags = std::array<bool, cat::kCheckNodeCount>;

struct ProfileSlot {
  std::string name;             // also the profile's section in the settings file
  std::string initialUserText;  // "ユーザー１" .. "ユーザー１０", empty for the M model
  std::string userName;         // that user's name, empty for the M model
  std::string modelType;        // "8630-GHJK" or "8630-M"; empty for a free slot
  bool registered() const { return !name.empty(); }
};

using ProfileSlotTable = std::array<ProfileSlot, cat::kSlotCount>;

// The one profile the program works on; owned by the application and handed to
// whoever needs it.
class ProfileModel {
 public:
  SettingProfile values = SettingProfile::defaults();
  ProfileText text = ProfileText::of(values);
  CheckFlagSet flags;
  ValueWriteFlags valueWrite;
  CheckFlagWriteFlags flagWrite{};

  void markAllForWriting();
  void clearWriteFlags();
  // After the settings tree closes with OK: texts from states, flag the changed nodes.
  void recomputeCheckFlagTexts();
  // When the settings tree opens: texts from states, then snapshot all texts.
  void refreshAndSnapshotCheckFlagTexts();
  // Every value and both forms to the catalogue defaults, every node included.
  void resetToDefaults();

  // Changes that keep record form, text form and write flag together.
  void setSelectUser(std::int32_t index);
  void setUserName(int user, const std::string& name);
  void setPaperIndex(int user, int item, std::int32_t index);
  void setMargin(int user, int item, const std::string& margin);
  void setCommonIndex(int user, int item, std::int32_t index);
  void setInterfaceChoice(int item, std::int32_t index);
  void setIfChgTime(std::int32_t seconds);
  void setOctet(int item, int octet, std::int32_t value);
};

}  // namespace drovik
