#include "command/record_description.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "command/choice_codes.h"
#include "command/record_layout.h"
#include "command/scalar_codes.h"

namespace drovik::image {
namespace {

namespace cat = catalogue;

// The byte as the listing shows it ("7F"), for the texts below.
class HexByte {
 public:
  explicit HexByte(std::uint8_t b) : digits_{kDigits[b >> 4], kDigits[b & 0x0F]} {}
  operator std::string_view() const { return {digits_, 2}; }  // NOLINT: implicit on purpose

 private:
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char digits_[2];
};

HexByte hexByte(std::uint8_t b) { return HexByte(b); }

void appendAll(std::string& out, std::initializer_list<std::string_view> parts) {
  for (const std::string_view part : parts) out += part;
}

// A text made of its parts in one allocation: a damaged image has a problem in every record.
std::string joined(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string text;
  text.reserve(size);
  appendAll(text, parts);
  return text;
}

// Appends the display text of a choice record's value.
void appendChoiceValue(const cat::Item& item, std::uint8_t high, std::uint8_t low,
                       CommandVariant variant, Description& out) {
  if (high != 0)
    out.problems.push_back(joined({"値の上位バイト ", hexByte(high), " が 00 ではありません。"}));
  if (const auto index = codes::choiceOfCode(item, low, variant)) {
    out.text += codes::choiceTextView(item, *index, variant);
    return;
  }
  out.problems.push_back(
      joined({"値 ", hexByte(low), " は「", item.label, "」の値の表にありません。"}));
  appendAll(out.text, {"（不明な値 ", hexByte(low), "）"});
}

bool isGhjkOnlyCode(std::uint8_t code) {
  return code == layout::kUserCode || code == layout::kNameCode ||
         (code >= layout::kIfSelCode && code <= layout::kErrDispCode);
}

}  // namespace

ImageLayout DetectLayout(std::span<const RawRecord> records) {
  if (records.empty()) return ImageLayout::None;
  const bool ghjk = std::any_of(records.begin(), records.end(),
                                [](const RawRecord& r) { return isGhjkOnlyCode(r.bytes[0]); });
  return ghjk ? ImageLayout::Ghjk : ImageLayout::M;
}

CommandVariant RecordDescriber::variant() const {
  return layout_ == ImageLayout::M ? CommandVariant::M : CommandVariant::Ghjk;
}

void RecordDescriber::appendUserPrefix(Description& out) const {
  if (layout_ == ImageLayout::M) {
    out.text += "初期ユーザー ";
  } else if (user_ >= 0) {
    out.text += cat::userCaption(user_);
    out.text += ' ';
  } else {
    out.problems.push_back("ユーザー選択レコード（10 FF 00 u）の外にあるユーザー別の設定です。");
    out.text += "ユーザー？ ";
  }
}

void RecordDescriber::describe(const RawRecord& record, Description& out) {
  // The caller's buffers are reused: a listing describes hundreds of records.
  out.text.clear();
  out.problems.clear();
  const auto b = record.bytes;
  const std::uint8_t code = b[0], qualifier = b[1], high = b[2], low = b[3];

  if (code == layout::kNameCode) {
    appendUserPrefix(out);
    const auto padding = b.subspan(1, 5);
    if (std::any_of(padding.begin(), padding.end(), [](std::uint8_t x) { return x != 0; }))
      out.problems.push_back("ユーザー名レコードの 2～6 バイト目が 00 ではありません。");
    const auto name = b.subspan(6);
    out.text += "ユーザー名：";
    out.text += codes::nameFromBytes(name.data(), name.size());
    return;
  }
  if (code == layout::kUserCode) {
    describeUserRecord(qualifier, high, low, out);
    return;
  }
  if (code == layout::kNetworkCode) {
    describeNetworkRecord(qualifier, high, low, out);
    return;
  }

  const auto iface = cat::interfaceItems();
  auto interfaceChoice = [&](int item) {
    if (qualifier != 0)
      out.problems.push_back(
          joined({"修飾バイト ", hexByte(qualifier), " が 00 ではありません。"}));
    out.text += iface[item].label;
    out.text += "：";
    appendChoiceValue(iface[item], high, low, CommandVariant::Ghjk, out);
  };
  switch (code) {
    case layout::kIfSelCode:
      interfaceChoice(cat::kIfSel);
      return;
    case layout::kParallelCode:
      interfaceChoice(cat::kParallel);
      return;
    case layout::kIfChgTimeCode:
      out.text = std::string(iface[cat::kIfChgTime].label) + "：" + std::to_string(low) + "sec";
      return;
    case layout::kErrDispCode:
      requireNetworkBlock(out);
      interfaceChoice(cat::kErrDisp);
      return;
    default:
      break;
  }

  if (const int item = layout::paperRecordWith(code, qualifier); item >= 0) {
    appendUserPrefix(out);
    cat::appendGroupAndLabel(out.text, {cat::Scope::Paper, item}, " ");
    out.text += "：";
    const cat::Item& def = cat::paperItems()[item];
    if (def.kind == cat::ValueKind::Margin)
      out.text += codes::marginText(high, low);
    else
      appendChoiceValue(def, high, low, variant(), out);
    return;
  }
  if (const int common = layout::commonRecordWith(code, qualifier); common >= 0) {
    appendUserPrefix(out);
    const int item = layout::commonRecords()[common].item;
    cat::appendGroupAndLabel(out.text, {cat::Scope::Common, item}, " ");
    if (qualifier != 0) out.text += "（" + cat::fullWidthNumber(qualifier + 1) + "件目）";
    out.text += "：";
    appendChoiceValue(cat::commonItems()[item], high, low, variant(), out);
    return;
  }
  out.text = "（不明なレコード）";
  out.problems.push_back(joined(
      {"不明な機能コード ", hexByte(code), "（修飾 ", hexByte(qualifier), "）のレコードです。"}));
}

void RecordDescriber::describeUserRecord(std::uint8_t qualifier, std::uint8_t high,
                                         std::uint8_t low, Description& out) {
  if (high != 0)
    out.problems.push_back(joined({"値の上位バイト ", hexByte(high), " が 00 ではありません。"}));
  if (qualifier == 0x00) {
    const auto& users = cat::selectUserList();
    if (low < users.size()) {
      out.text = "初期ユーザー選択：" + std::string(users.entries[low]);
    } else {
      out.text = "初期ユーザー選択：（不明な値 ";
      appendAll(out.text, {hexByte(low), "）"});
      out.problems.push_back(joined({"初期ユーザーの値 ", hexByte(low), " は範囲外です。"}));
    }
    if (anyUserBlock_) out.problems.push_back("初期ユーザー選択はユーザー別設定より前に置きます。");
    return;
  }
  if (qualifier != layout::kUserSelectQualifier) {
    out.text = "（不明なレコード）";
    out.problems.push_back(
        joined({"ユーザーレコードの修飾バイト ", hexByte(qualifier), " は不明です。"}));
    return;
  }
  if (low == layout::kEndOfUsers) {
    out.text = "ユーザー別設定の終わり";
    if (!anyUserBlock_) out.problems.push_back("ユーザー別設定がないのに終了レコードがあります。");
    user_ = -1;
    usersEnded_ = true;
    return;
  }
  if (low < cat::kUserCount) {
    user_ = low;
    anyUserBlock_ = true;
    out.text = "── " + cat::userCaption(user_) + " の設定 ──";
    if (usersEnded_) out.problems.push_back("ユーザー別設定の終了レコードより後にあります。");
    return;
  }
  user_ = -1;
  out.text = "ユーザー選択：（不明な値 ";
  appendAll(out.text, {hexByte(low), "）"});
  out.problems.push_back(joined({"ユーザー番号 ", hexByte(low), " は範囲外です。"}));
}

void RecordDescriber::describeNetworkRecord(std::uint8_t qualifier, std::uint8_t high,
                                            std::uint8_t low, Description& out) {
  const auto iface = cat::interfaceItems();
  if (qualifier == 0x00) {
    out.text = "ネットワーク設定の始まり";
    if (inNetwork_) out.problems.push_back("ネットワーク設定の開始レコードが重なっています。");
    inNetwork_ = true;
    return;
  }
  if (qualifier == layout::kNetworkEndQualifier) {
    out.text = "ネットワーク設定の終わり";
    if (!inNetwork_) out.problems.push_back("対応する開始レコードのない終了レコードです。");
    inNetwork_ = false;
    return;
  }
  requireNetworkBlock(out);
  if (qualifier == layout::kDhcpQualifier) {
    out.text += iface[cat::kDhcp].label;
    out.text += "：";
    appendChoiceValue(iface[cat::kDhcp], high, low, CommandVariant::Ghjk, out);
    return;
  }
  const int slot = qualifier - layout::kFirstAddressQualifier;
  if (slot >= 0 && slot < 2 * RecordTemplates::kAddressCount) {
    const int item = cat::kIpAddress + slot / 2;
    const int first = slot % 2 * 2 + 1;
    out.text = std::string(iface[item].label) + "（第" + cat::fullWidthNumber(first) + "・第" +
               cat::fullWidthNumber(first + 1) + "オクテット）：" + std::to_string(high) + "." +
               std::to_string(low);
    return;
  }
  out.text = "（不明なレコード）";
  out.problems.push_back(
      joined({"ネットワークレコードの修飾バイト ", hexByte(qualifier), " は不明です。"}));
}

void RecordDescriber::requireNetworkBlock(Description& out) const {
  if (!inNetwork_)
    out.problems.push_back("ネットワーク設定の開始レコード（9B 00 00 00）の外にあります。");
}

std::vector<std::string> RecordDescriber::finish() const {
  std::vector<std::string> problems;
  if (anyUserBlock_ && !usersEnded_)
    problems.push_back("ユーザー別設定の終了レコード（10 FF 00 FF）がありません。");
  if (inNetwork_) problems.push_back("ネットワーク設定の終了レコード（9B FF 00 00）がありません。");
  return problems;
}

}  // namespace drovik::image
