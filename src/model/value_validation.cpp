#include "model/value_validation.h"

#include <string>

#include "ini/text_codec.h"
#include "model/catalogue.h"
#include "model/value_rules.h"

namespace drovik {
namespace {

namespace cat = catalogue;

constexpr int kMinIfChgTime = 5;
constexpr int kMaxIfChgTime = 255;

// "フロントトラクタのトップマージン": the margin's group and its own label.
std::string marginBoxName(int marginSlot) {
  if (marginSlot < 0 || marginSlot >= cat::kMarginCount) return "トップマージン";
  return cat::groupAndLabel({cat::Scope::Paper, cat::kMarginPaperItems[marginSlot]}, "の");
}

int leadingDigits(std::string_view text) {
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

Status validateMarginText(int user, int marginSlot, std::string_view text) {
  // An empty box stores an empty text, which loads as the margin's default.
  if (text.empty() || rules::marginMillimetres(text)) return Status::ok();
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

Status validateAddressOctet(int item, int octet, int value) {
  if (value >= 0 && value <= 255) return Status::ok();
  return Error{"インターフェース設定：" + std::string(cat::interfaceItems()[item].label) + "（第" +
               cat::fullWidthNumber(octet + 1) +
               "オクテット）\n0 から 255 までの半角数字を入力してください"};
}

Status validateUserName(int user, std::string_view name) {
  if (ini::utf16Length(name) > cat::kNameCapacity)
    return Error{"ユーザー名登録：" + cat::userCaption(user) +
                 "\n半角英数カナで10文字以内にしてください"};
  if (!rules::hasPrinterNameCharactersOnly(name))
    return Error{"ユーザー名は半角英数カナで入力してください"};
  return Status::ok();
}

}  // namespace drovik
