// The fixed vocabulary of settings: items, INI keys, tree labels, value lists, defaults
// and the include-flag nodes of the settings tree. Every other part of the program
// refers to settings through these tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace drovik::catalogue {

inline constexpr int kUserCount = 10;
inline constexpr int kPaperItemCount = 38;   // 15 front tractor, 15 rear tractor, 8 cut sheet
inline constexpr int kCommonItemCount = 29;  // 14 common, 7 of the 8630 emulation, 8 ESC/P
inline constexpr int kInterfaceItemCount = 8;
inline constexpr int kInterfaceKeyCount = 17;
inline constexpr int kCheckNodeCount = 763;
inline constexpr int kSlotCount = 20;
inline constexpr int kMarginCount = 4;
inline constexpr int kProfileKeyCount = 1461;

inline constexpr std::size_t kNameCapacity = 10;         // user names (UTF-16 units)
inline constexpr std::size_t kMarginCapacity = 10;       // margin texts
inline constexpr std::size_t kSecondsCapacity = 3;       // IfChgTime
inline constexpr std::size_t kOctetCapacity = 3;         // one address octet
inline constexpr std::size_t kProfileNameCapacity = 60;  // profile names and model types

inline constexpr std::string_view kModelGhjk = "8630-GHJK";
inline constexpr std::string_view kModelM = "8630-M";

enum class ValueKind {
  Choice,   // index into a value list
  Margin,   // millimetres as typed, e.g. "8.5"
  Seconds,  // the interface switch time
  Octet,    // one octet of an IPv4 address
  Name,     // a user name
};

struct ValueList {
  std::string_view name;
  std::span<const std::string_view> entries;
  int size() const { return static_cast<int>(entries.size()); }
};

// One per-user setting (paper-path or common) or one interface item.
struct Item {
  std::string_view name;   // key without user prefix: "FormLenFront"
  std::string_view label;  // tree label: "用紙長さ"
  ValueKind kind;
  const ValueList* values;       // Choice items only
  int defaultIndex;              // Choice items
  std::string_view defaultText;  // Margin and Seconds items
};

// Paper-path items in profile order: front tractor, rear tractor, cut sheet.
std::span<const Item> paperItems();
// Common items in catalogue order: common, 8630, ESC/P.
std::span<const Item> commonItems();
// Interface items: IfSel, IfChgTime, Parallel, DHCP, IP address, subnet mask, gateway, ErrDisp.
std::span<const Item> interfaceItems();

enum InterfaceItem : int {
  kIfSel = 0,
  kIfChgTime,
  kParallel,
  kDhcp,
  kIpAddress,
  kSubnetMask,
  kDefaultGateway,
  kErrDisp,
};

// Positions of the margin items among the 38 paper-path items and their margin slot.
inline constexpr std::array<int, kMarginCount> kMarginPaperItems = {11, 26, 36, 37};
int marginSlotOfPaperItem(int paperItem);  // 0..3, or -1 for a choice item
std::string_view marginDefault(int marginSlot);

// Common-record storage order: position in storage -> catalogue position. The printer
// image and the NVRAM layout use this order (CharMode before FormMode, CharCode before CharPitch).
const std::array<int, kCommonItemCount>& commonStorageOrder();

// Keys.
const std::string& paperKey(int user, int item);   // "User01_FormLenFront"
const std::string& commonKey(int user, int item);  // catalogue order
const std::string& userNameKey(int user);          // "User1"
inline constexpr std::string_view kSelectUserKey = "SelectUser";

// The 17 interface keys in the order a full save writes them.
struct InterfaceKey {
  std::string_view key;  // "IPAddress2"
  int item;              // InterfaceItem
  int octet;             // 0..3 for address keys, -1 otherwise
};
std::span<const InterfaceKey> interfaceKeys();
int interfaceKeyIndex(int item, int octet);  // position in interfaceKeys()

// Defaults.
std::string defaultUserName(int user);  // "U01" .. "U10"
inline constexpr int kDefaultSelectUser = 0;
inline constexpr std::string_view kDefaultIfChgTime = "30";
inline constexpr int kDefaultIfChgTimeSeconds = 30;

// Value lists shared with editors and reports.
const ValueList& selectUserList();   // "ユーザー１" .. "ユーザー１０"
std::string fullWidthNumber(int n);  // 3 -> "３", 10 -> "１０"
std::string userCaption(int user);   // "ユーザー１" .. "ユーザー１０"

// Check-flag nodes of the settings tree.
enum class NodeRef {
  Group,       // a node that only groups others
  SelectUser,  // the initial user
  UserName,    // one user's name
  Paper,       // a paper-path item of one user
  Common,      // a common item of one user
  Interface,   // an interface item
};

struct CheckNode {
  std::string key;    // "User3FTAgaChkFlag"
  std::string label;  // tree label
  int parent;         // parent node index, -1 at top level
  int user;           // 0..9, or -1 for profile-wide and interface nodes
  NodeRef ref;
  int item;  // paper, common or interface item for item nodes, else -1
};

const std::array<CheckNode, kCheckNodeCount>& checkNodes();
int checkNodeIndex(std::string_view key);  // -1 when unknown

inline constexpr int kUserSettingNode = 0;
inline constexpr int kSelectUserNode = 1;
inline constexpr int kUserNameSettingNode = 2;
inline constexpr int kInterfaceSettingNode = 753;
inline constexpr int kFirstInterfaceItemNode = 754;

// Blocks of ten nodes, one per user: node = 3 + 10 * block + user.
inline constexpr int kNameBlock = 0;
inline constexpr int kUserBlock = 1;
inline constexpr int kFrontTractorBlock = 2;
inline constexpr int kRearTractorBlock = 18;
inline constexpr int kCutBlock = 34;
inline constexpr int kCommonSettingBlock = 43;
inline constexpr int k8630SettingBlock = 58;
inline constexpr int kEscpSettingBlock = 66;
constexpr int checkNode(int block, int user) { return 3 + 10 * block + user; }
int paperItemNode(int user, int item);
int commonItemNode(int user, int item);  // catalogue order
int interfaceItemNode(int item);

}  // namespace drovik::catalogue
