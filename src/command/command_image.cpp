#include "command/command_image.h"

#include <span>

#include "command/record_layout.h"

namespace drovik {
namespace {

namespace cat = catalogue;

// A growing byte buffer that takes raw bytes and records.
class ByteSink {
 public:
  explicit ByteSink(std::size_t expectedSize) { bytes_.reserve(expectedSize); }
  void append(std::span<const std::uint8_t> bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  }
  void append(const SettingRecord& record) { append(record.bytes()); }
  std::size_t size() const { return bytes_.size(); }
  void truncate(std::size_t size) { bytes_.resize(size); }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

void writeM(ByteSink& out, const RecordTemplates& records, const CheckFlagSet& flags, int user) {
  for (int item : layout::mPaperOrder())
    if (flags.included(cat::paperItemNode(user, item))) out.append(records.paper[user][item]);
  for (int record : layout::mCommonOrder())
    if (flags.included(cat::commonItemNode(user, layout::commonRecords()[record].item)))
      out.append(records.common[user][record]);
}

// One user's block: the name record, then the included paper-path and common records.
void writeGhjkUser(ByteSink& out, const RecordTemplates& records, const CheckFlagSet& flags,
                   int user) {
  if (flags.included(cat::checkNode(cat::kNameBlock, user))) {
    out.append(std::array<std::uint8_t, 6>{layout::kNameCode, 0, 0, 0, 0, 0});
    out.append(records.userName[user]);
  }
  for (int item = 0; item < cat::kPaperItemCount; ++item)
    if (flags.included(cat::paperItemNode(user, item))) out.append(records.paper[user][item]);
  for (int record : layout::ghjkCommonOrder())
    if (flags.included(cat::commonItemNode(user, layout::commonRecords()[record].item)))
      out.append(records.common[user][record]);
}

void writeGhjk(ByteSink& out, const RecordTemplates& records, const CheckFlagSet& flags) {
  if (flags.included(cat::kSelectUserNode)) out.append(records.selectedUser);

  bool anyUser = false;
  for (int user = 0; user < cat::kUserCount; ++user) {
    // The user-selection record goes first and is taken back when the user has no records.
    const std::size_t start = out.size();
    const auto userByte = static_cast<std::uint8_t>(user);
    out.append(SettingRecord{layout::kUserCode, layout::kUserSelectQualifier, 0, userByte});
    writeGhjkUser(out, records, flags, user);
    if (out.size() == start + 4) {
      out.truncate(start);
      continue;
    }
    anyUser = true;
  }
  if (anyUser)
    out.append(
        SettingRecord{layout::kUserCode, layout::kUserSelectQualifier, 0, layout::kEndOfUsers});

  const auto node = cat::interfaceItemNode;
  if (flags.included(node(cat::kIfSel))) out.append(records.ifSel);
  if (flags.included(node(cat::kIfChgTime))) out.append(records.ifChgTime);
  if (flags.included(node(cat::kParallel))) out.append(records.parallel);

  const bool network = flags.included(node(cat::kDhcp)) || flags.included(node(cat::kIpAddress)) ||
                       flags.included(node(cat::kSubnetMask)) ||
                       flags.included(node(cat::kDefaultGateway)) ||
                       flags.included(node(cat::kErrDisp));
  if (!network) return;
  out.append(SettingRecord{layout::kNetworkCode, 0x00, 0x00, 0x00});
  if (flags.included(node(cat::kDhcp))) out.append(records.dhcp);
  for (int address = 0; address < RecordTemplates::kAddressCount; ++address)
    if (flags.included(node(cat::kIpAddress + address)))
      for (const SettingRecord& half : records.address[address]) out.append(half);
  if (flags.included(node(cat::kErrDisp))) out.append(records.errDisp);
  out.append(SettingRecord{layout::kNetworkCode, layout::kNetworkEndQualifier, 0x00, 0x00});
}

}  // namespace

CommandImage BuildCommandImage(const ValueCodes& codes, const CheckFlagSet& flags,
                               std::int32_t selectUser, CommandVariant variant) {
  ByteSink out(layout::kHeaderSize + codes.length);
  out.append(layout::kLeadingCommand);
  out.append(layout::kSettingsCommand);
  out.append(std::array<std::uint8_t, 2>{0, 0});  // length field, known at the end
  if (variant == CommandVariant::Ghjk)
    writeGhjk(out, codes.records, flags);
  else if (selectUser >= 0 && selectUser < cat::kUserCount)
    writeM(out, codes.records, flags, selectUser);
  out.append(layout::kTerminator);

  std::vector<std::uint8_t>& bytes = out.bytes();
  const std::size_t length = bytes.size() - layout::kHeaderSize;  // records and terminator
  bytes[layout::kHeaderSize - 2] = static_cast<std::uint8_t>(length >> 8);
  bytes[layout::kHeaderSize - 1] = static_cast<std::uint8_t>(length & 0xFF);
  return CommandImage{std::move(bytes)};
}

}  // namespace drovik
