#include "command/value_codes.h"

#include "command/choice_codes.h"
#include "command/scalar_codes.h"
#include "model/value_rules.h"

namespace drovik {
namespace {

namespace cat = catalogue;

bool validUser(std::int32_t user) { return user >= 0 && user < cat::kUserCount; }

std::string paperLabel(int user, int item) {
  return cat::userCaption(user) + "：" + cat::groupAndLabel({cat::Scope::Paper, item}, "");
}

std::string commonLabel(int user, int item) {
  return cat::userCaption(user) + "：" + std::string(cat::commonItems()[item].label);
}

std::string interfaceLabel(int item) {
  return "インターフェース設定：" + std::string(cat::interfaceItems()[item].label);
}

std::string outOfTable(const std::string& label, std::int64_t value) {
  return label + "：値 " + std::to_string(value) + " は範囲外です。初期値を使います。";
}

std::string outOfByteRange(const std::string& label, std::int32_t value) {
  return label + "：値 " + std::to_string(value) + " は 0～255 の範囲外です。256 で割った余り " +
         std::to_string(codes::lowByte(value)) + " を使います。";
}

// One pass over a profile, writing into fresh records and texts.
class ValueCoder {
 public:
  ValueCoder(const SettingProfile& profile, CommandVariant variant, ValueTexts texts)
      : profile_(profile), variant_(variant), texts_(texts == ValueTexts::Filled) {
    out_.records = RecordTemplates::initial();
  }

  void codeUser(int user) {
    for (int item = 0; item < cat::kPaperItemCount; ++item)
      if (carriesPaper(item)) codePaper(user, item);
    for (int item = 0; item < cat::kCommonItemCount; ++item)
      if (carriesCommon(item)) codeCommon(user, item);
  }

  void codeSelectUser() {
    const std::int32_t index = profile_.selectUser;
    if (!validUser(index)) {
      out_.warnings.push_back(outOfTable(cat::checkNodes()[cat::kSelectUserNode].label, index));
      return;
    }
    out_.records.selectedUser.low = static_cast<std::uint8_t>(index);
    if (texts_) out_.texts.selectUser = std::string(cat::selectUserList().entries[index]);
  }

  void codeUserName(int user) {
    const std::string& name = profile_.userName[user];
    out_.records.userName[user] = codes::nameBytes(name);
    if (texts_) out_.texts.userName[user] = name;
    const auto label = [&] { return "ユーザー名登録：" + cat::userCaption(user); };
    if (!rules::hasPrinterNameCharactersOnly(name))
      out_.warnings.push_back(
          label() + "：半角英数字と半角カナ以外の文字は、プリンタで正しく表示されません。");
    if (codes::nameLength(name) > layout::kNameByteCount)
      out_.warnings.push_back(label() + "：１０文字を超える部分は送られません。");
  }

  void codeInterface() {
    const InterfaceRecord& iface = profile_.iface;
    codeInterfaceChoice(cat::kIfSel, out_.records.ifSel);
    codeInterfaceChoice(cat::kParallel, out_.records.parallel);
    codeInterfaceChoice(cat::kDhcp, out_.records.dhcp);
    codeInterfaceChoice(cat::kErrDisp, out_.records.errDisp);

    out_.records.ifChgTime.low = codes::lowByte(iface.ifChgTime);
    if (texts_)
      out_.texts.iface[cat::interfaceKeyIndex(cat::kIfChgTime, -1)] = iface.ifChgTimeText + "sec";
    if (iface.ifChgTime < 0 || iface.ifChgTime > 255)
      out_.warnings.push_back(outOfByteRange(interfaceLabel(cat::kIfChgTime), iface.ifChgTime));

    for (int address = 0; address < RecordTemplates::kAddressCount; ++address) {
      const int item = cat::kIpAddress + address;
      for (int octet = 0; octet < 4; ++octet) {
        const std::int32_t value = iface.octet[address][octet];
        SettingRecord& record = out_.records.address[address][octet / 2];
        (octet % 2 == 0 ? record.high : record.low) = codes::lowByte(value);
        if (texts_)
          out_.texts.iface[cat::interfaceKeyIndex(item, octet)] = iface.octetText[address][octet];
        if (value < 0 || value > 255)
          out_.warnings.push_back(outOfByteRange(
              interfaceLabel(item) + "（第" + cat::fullWidthNumber(octet + 1) + "オクテット）",
              value));
      }
    }
  }

  ValueCodes finish(const CheckFlagSet& flags) && {
    out_.length = CommandLength(flags, profile_.selectUser, variant_);
    return std::move(out_);
  }

 private:
  bool carriesPaper(int item) const {
    return variant_ == CommandVariant::Ghjk || layout::mCarriesPaperItem(item);
  }
  bool carriesCommon(int item) const {
    return variant_ == CommandVariant::Ghjk || layout::mCarriesCommonItem(item);
  }
  // The records of a common item that this variant's layout sends (AsfEject: M both).
  bool sendsCommonRecord(int record) const {
    const layout::CommonRecordLayout& row = layout::commonRecords()[record];
    return (variant_ == CommandVariant::Ghjk ? row.ghjkPosition : row.mPosition) > 0;
  }

  void codePaper(int user, int item) {
    SettingRecord& record = out_.records.paper[user][item];
    std::string& text = out_.texts.paper[user][item];
    const int marginSlot = cat::marginSlotOfPaperItem(item);
    if (marginSlot >= 0) {
      const std::string& stored = profile_.paper[user].margin[marginSlot];
      // The list shows the margin as stored, even one the printer cannot take.
      if (texts_) text = stored + "mm";
      if (const auto code = codes::marginCode(stored)) {
        record.high = (*code)[0];
        record.low = (*code)[1];
      } else {
        out_.warnings.push_back(paperLabel(user, item) + "：値「" + stored +
                                "」は -25.4～254 の数値ではありません。初期値を使います。");
      }
      return;
    }
    const cat::Item& def = cat::paperItems()[item];
    const std::int32_t index = profile_.paper[user].index[item];
    if (const auto code = codes::choiceCode(def, index, variant_)) {
      record.low = *code;
      if (texts_) text = codes::choiceText(def, index, variant_);
    } else {
      out_.warnings.push_back(outOfTable(paperLabel(user, item), index));
    }
  }

  void codeCommon(int user, int item) {
    const cat::Item& def = cat::commonItems()[item];
    const std::int32_t index = profile_.common[user].index[item];
    const auto code = codes::choiceCode(def, index, variant_);
    if (!code) {
      out_.warnings.push_back(outOfTable(commonLabel(user, item), index));
      return;
    }
    for (int record : layout::commonRecordsOfItem(item))
      if (sendsCommonRecord(record)) out_.records.common[user][record].low = *code;
    if (texts_) out_.texts.common[user][item] = codes::choiceText(def, index, variant_);
  }

  void codeInterfaceChoice(int item, SettingRecord& record) {
    const cat::Item& def = cat::interfaceItems()[item];
    const std::int32_t index = profile_.iface.choice(item);
    if (const auto code = codes::choiceCode(def, index, variant_)) {
      record.low = *code;
      if (texts_)
        out_.texts.iface[cat::interfaceKeyIndex(item, -1)] =
            codes::choiceText(def, index, variant_);
    } else {
      out_.warnings.push_back(outOfTable(interfaceLabel(item), index));
    }
  }

  const SettingProfile& profile_;
  CommandVariant variant_;
  bool texts_;
  ValueCodes out_;
};

int includedCount(const CheckFlagSet& flags, std::initializer_list<int> nodes) {
  int count = 0;
  for (int node : nodes) count += flags.included(node) ? 1 : 0;
  return count;
}

}  // namespace

CommandVariant variantOf(std::string_view modelType) {
  return modelType == cat::kModelGhjk ? CommandVariant::Ghjk : CommandVariant::M;
}

std::string_view modelTypeOf(CommandVariant variant) {
  return variant == CommandVariant::Ghjk ? cat::kModelGhjk : cat::kModelM;
}

RecordTemplates RecordTemplates::initial() {
  RecordTemplates t;
  for (int user = 0; user < cat::kUserCount; ++user) {
    for (int r = 0; r < layout::kPaperRecordCount; ++r) {
      const auto& row = layout::paperRecords()[r];
      t.paper[user][r] = {row.code, row.qualifier, 0x00, row.initialLow};
    }
    for (int r = 0; r < layout::kCommonRecordCount; ++r) {
      const auto& row = layout::commonRecords()[r];
      t.common[user][r] = {row.code, row.qualifier, 0x00, row.initialLow};
    }
  }
  t.selectedUser = {layout::kUserCode, 0x00, 0x00, 0x00};
  t.ifSel = {layout::kIfSelCode, 0x00, 0x00, 0x00};
  t.ifChgTime = {layout::kIfChgTimeCode, 0x00, 0x00, 0x00};
  t.parallel = {layout::kParallelCode, 0x00, 0x00, 0x00};
  t.dhcp = {layout::kNetworkCode, layout::kDhcpQualifier, 0x00, 0x00};
  for (int a = 0; a < kAddressCount; ++a)
    for (int half = 0; half < 2; ++half)
      t.address[a][half] = {
          layout::kNetworkCode,
          static_cast<std::uint8_t>(layout::kFirstAddressQualifier + 2 * a + half), 0x00, 0x00};
  t.errDisp = {layout::kErrDispCode, 0x00, 0x00, 0x00};
  return t;
}

Result<ValueCodes> ApplyValueCodes(const SettingProfile& profile, const CheckFlagSet& flags,
                                   CommandVariant variant, ValueTexts texts) {
  ValueCoder coder(profile, variant, texts);
  if (variant == CommandVariant::M) {
    // The M command carries one user's settings; an unknown user has none to send.
    if (!validUser(profile.selectUser))
      return Error{"初期ユーザーの値 " + std::to_string(profile.selectUser) +
                   " が範囲外（ユーザー１～ユーザー１０以外）のため、８６３０－Ｍの設定に変換でき"
                   "ません。"};
    coder.codeUser(profile.selectUser);
    return std::move(coder).finish(flags);
  }
  coder.codeSelectUser();
  for (int user = 0; user < cat::kUserCount; ++user) {
    coder.codeUserName(user);
    coder.codeUser(user);
  }
  coder.codeInterface();
  return std::move(coder).finish(flags);
}

std::uint16_t CommandLength(const CheckFlagSet& flags, std::int32_t selectUser,
                            CommandVariant variant) {
  int length = 4;  // the terminator
  if (variant == CommandVariant::M) {
    if (!validUser(selectUser)) return static_cast<std::uint16_t>(length);
    for (int item = 0; item < cat::kPaperItemCount; ++item)
      if (layout::mCarriesPaperItem(item) && flags.included(cat::paperItemNode(selectUser, item)))
        length += 4;
    for (int item = 0; item < cat::kCommonItemCount; ++item) {
      if (!layout::mCarriesCommonItem(item) ||
          !flags.included(cat::commonItemNode(selectUser, item)))
        continue;
      for (int record : layout::commonRecordsOfItem(item))
        if (layout::commonRecords()[record].mPosition > 0) length += 4;
    }
    return static_cast<std::uint16_t>(length);
  }

  if (flags.included(cat::kSelectUserNode)) length += 4;
  bool anyUser = false;
  for (int user = 0; user < cat::kUserCount; ++user) {
    int block = flags.included(cat::checkNode(cat::kNameBlock, user)) ? 16 : 0;
    for (int item = 0; item < cat::kPaperItemCount; ++item)
      if (flags.included(cat::paperItemNode(user, item))) block += 4;
    for (int item = 0; item < cat::kCommonItemCount; ++item)
      if (flags.included(cat::commonItemNode(user, item))) block += 4;
    if (block > 0) {
      length += block + 4;  // and the user-selection record
      anyUser = true;
    }
  }
  if (anyUser) length += 4;  // end of users
  const auto node = cat::interfaceItemNode;
  length +=
      4 * includedCount(flags, {node(cat::kIfSel), node(cat::kIfChgTime), node(cat::kParallel)});
  const int network =
      includedCount(flags, {node(cat::kDhcp), node(cat::kIpAddress), node(cat::kSubnetMask),
                            node(cat::kDefaultGateway), node(cat::kErrDisp)});
  if (network > 0) {
    length += 8;  // block start and end
    length += 4 * includedCount(flags, {node(cat::kDhcp), node(cat::kErrDisp)});
    length += 8 * includedCount(flags, {node(cat::kIpAddress), node(cat::kSubnetMask),
                                        node(cat::kDefaultGateway)});
  }
  return static_cast<std::uint16_t>(length);
}

}  // namespace drovik
