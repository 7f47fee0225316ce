// The fixed vocabulary of settings: items, INI keys, tree labels, value lists, defaults
// and the include-flag nodes of the settings tree. Every other part of the program
// refers to settings through these tables.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
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
  std::string_view name;      // key without user prefix: "FormLenFront"
  std::string_view flagStem;  // check-flag key after the group's prefix: "FormLen"
  std::string_view label;     // tree label: "用紙長さ"
  std::string_view caption;   // page caption and list wording, where not the tree label
  int reportTabs;             // tabs after the list wording that align the value column
  ValueKind kind;
  const ValueList* values;       // Choice items only
  int defaultIndex;              // Choice items
  std::string_view defaultText;  // Margin and Seconds items

  std::string_view pageCaption() const { return caption.empty() ? label : caption; }
};

// Paper-path items in profile order: front tractor, rear tractor, cut sheet.
std::span<const Item> paperItems();
// Common items in catalogue order: common, 8630, ESC/P.
std::span<const Item> commonItems();
// Interface items: IfSel, IfChgTime, Parallel, DHCP, IP address, subnet mask, gateway, ErrDisp.
std::span<const Item> interfaceItems();

// Which of the three item tables an item belongs to.
enum class Scope { Paper, Common, Interface };

// An item by its table and position there.
struct ItemRef {
  Scope scope;
  int index;
  friend bool operator==(const ItemRef&, const ItemRef&) = default;
};
const Item& item(ItemRef ref);
// The item with this name (exact spelling); for tables that name items by key.
std::optional<ItemRef> findItem(std::string_view name);

// A run of items under one node of the settings tree: one frame of a settings page and one
// heading of the settings list.
enum GroupId : int {
  kFrontTractorGroup = 0,
  kRearTractorGroup,
  kCutGroup,
  kCommonGroup,
  k8630Group,
  kEscpGroup,
  kInterfaceGroup,
  kNetworkGroup,
  kGroupCount,
};
inline constexpr int kUserGroupCount = 6;  // the per-user groups come first

struct Group {
  std::string_view label;           // tree label, page frame caption and list heading
  std::string_view reportHeading;   // list heading where not the label
  std::string_view flagStem;        // "FrontTractor": "User1FrontTractorChkFlag"
  std::string_view itemFlagPrefix;  // "FT": "User1FTFormLenChkFlag"
  Scope scope;
  int first;   // position of the first item in its scope's table
  int count;   // number of items
  int parent;  // enclosing group, -1 when none (per-user groups then hang under the user)
  int node;    // check-flag node of the group (of user 1 for per-user groups)

  bool perUser() const { return scope != Scope::Interface; }
  std::span<const Item> items() const;
  ItemRef ref(int k) const { return {scope, first + k}; }
  std::string_view heading() const { return reportHeading.empty() ? label : reportHeading; }
  int nodeOf(int user) const { return perUser() ? node + user : node; }
  // Check-flag node of the k-th item; users are ignored for interface groups.
  int itemNode(int user, int k) const { return nodeOf(user) + (perUser() ? 10 : 1) * (1 + k); }
};

const std::array<Group, kGroupCount>& groups();
int groupOf(ItemRef ref);             // GroupId
int itemNode(int user, ItemRef ref);  // user ignored for interface items
// "フロントトラクタ" + separator + "用紙長さ": the item as the tree shows it.
std::string groupAndLabel(ItemRef ref, std::string_view separator);
void appendGroupAndLabel(std::string& out, ItemRef ref, std::string_view separator);
// The item's line label in the settings list: "　用紙長さ\t\t".
const std::string& reportLabel(ItemRef ref);

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

// Blocks of ten nodes, one per user: node = 3 + 10 * block + user. The user-name and user
// blocks come first, then each per-user group's node followed by its items' nodes.
inline constexpr int kNameBlock = 0;
inline constexpr int kUserBlock = 1;
inline constexpr int kUserBlockCount = 75;
constexpr int checkNode(int block, int user) { return 3 + 10 * block + user; }
inline constexpr int kInterfaceSettingNode = checkNode(kUserBlockCount, 0);
int paperItemNode(int user, int item);
int commonItemNode(int user, int item);  // catalogue order
int interfaceItemNode(int item);

// The order in which a full save creates the keys of a profile section: the check flags
// (profile-wide nodes, user names, each user's other nodes, interface nodes), then the values.
std::span<const int> checkNodesInSaveOrder();

enum class KeyKind { SelectUser, UserName, Paper, Common, Interface };
struct ValueKey {
  std::string_view key;
  KeyKind kind;
  int user;   // 0..9, or -1 for SelectUser and the interface keys
  int index;  // paper or common item, position in interfaceKeys(), or -1
};
// The 698 value keys: SelectUser, the user names, each user's paper and common items, the
// interface keys.
std::span<const ValueKey> valueKeysInSaveOrder();

}  // namespace drovik::catalogue
