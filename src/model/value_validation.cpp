#include "model/value_validation.h"

#include <charconv>
#include <string>

#include "model/catalogue.h"
#include "model/text_codec.h"

namespace drovik {
namespace {

namespace cat = catalogue;

constexpr double kMinMargin = -25.4;
constexpr double kMaxMargin = 254;
constexpr std::size_t kMaxMarginLength = 11;
constexpr int kMinIfChgTime = 5;
constexpr int kMaxIfChgTime = 255;

// "フロントトラクタのトップマージン": the margin's group and its own label.
std::string marginBoxName(int marginSlot) {
  if (marginSlot < 0 || marginSlot >= cat::kMarginCount) return "トップマージン";
  const auto& nodes = cat::checkNodes();
  const int node = cat::paperItemNode(0, cat::kMarginPaperItems[marginSlot]);
  return nodes[nodes[node].parent].label + "の" + nodes[node].label;
}

// The leading decimal number, as the margin spinner reads it; 0 when there is none.
double leadingNumber(std::string_view text) {
  double value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return 0;
  return value;
}

int leadingDigits(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

bool isMarginCharacter(char c) { return (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Half-width alphanumerics, symbols and katakana, as a printer's single-byte characters.
bool isNameCharacter(char16_t c) {
  return (c >= 0x20 && c <= 0x7E) || (c >= 0xA1 && c <= 0xDF) || (c >= 0xFF66 && c <= 0xFF9F);
}

}  // namespace

Status validateMarginText(int user, int marginSlot, std::string_view text) {
  bool valid = text.size() <= kMaxMarginLength;
  for (char c : text) valid = valid && isMarginCharacter(c);
  const double value = leadingNumber(text);
  valid = valid && value >= kMinMargin && value <= kMaxMargin;
  if (valid) return Status::ok();
  return Error{cat::userCaption(user) + "：" + marginBoxName(marginSlot) +
               "\n-25.4 から 254 までの半角数字を入力してください"};
}

Status validateIfChgTimeText(std::string_view text) {
  if (ini::utf16Length(text) > cat::kSecondsCapacity)
    return Error{"インターフェース設定：I/F切り替え時間は\n３桁以内の半角数字を入力してください"};
  const int seconds = leadingDigits(text);
  if (seconds < kMinIfChgTime || seconds > kMaxIfChgTime)
    return Error{
        "インターフェース設定：I/F切り替え時間\n5 から 255 までの半角数字を入力してください"};
  return Status::ok();
}

Status validateUserName(int user, std::string_view name) {
  if (ini::utf16Length(name) > cat::kNameCapacity)
    return Error{"ユーザー名登録：" + cat::userCaption(user) +
                 "\n半角英数カナで10文字以内にしてください"};
  const Error badCharacter{"ユーザー名は半角英数カナで入力してください"};
  const auto utf16 = ini::utf8ToUtf16Le(name);
  if (!utf16) return badCharacter;  // malformed UTF-8
  const std::string& units = *utf16;
  for (std::size_t i = 0; i + 1 < units.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(units[i]) |
                                            static_cast<unsigned char>(units[i + 1]) << 8);
    if (!isNameCharacter(unit)) return badCharacter;
  }
  return Status::ok();
}

}  // namespace drovik
