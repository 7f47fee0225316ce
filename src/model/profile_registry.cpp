#include "model/profile_registry.h"

#include "ini/ini_document.h"
#include "ini/text_codec.h"

namespace drovik {

int registeredCount(const ProfileSlotTable& slots) {
  int count = 0;
  for (const auto& slot : slots)
    if (slot.registered()) ++count;
  return count;
}

int firstFreeSlot(const ProfileSlotTable& slots) {
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (!slots[i].registered()) return i;
  return -1;
}

Error registrationLimitError() {
  return Error{std::to_string(cat::kSlotCount) + "個以上は登録できません"};
}

Status checkRegistrationLimit(const ProfileSlotTable& slots) {
  if (registeredCount(slots) >= cat::kSlotCount) return registrationLimitError();
  return {};
}

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

Status validateProfileName(const std::string& name) {
  if (ini::utf16Length(name) > cat::kProfileNameCapacity)
    return Error{"設定名は60文字以内にしてください"};
  if (name.empty()) return Error{"設定名を入力してください"};
  // The file trims these from a section header, so the profile would lose its section.
  if (isBlank(name.front()) || isBlank(name.back()))
    return Error{"設定名の先頭と末尾には空白を使えません"};
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '[' || c == ']' || byte < 0x20 || byte == 0x7F)
      return Error{"設定名に「[」「]」や制御文字は使えません"};
  }
  // Reading a value strips one pair of surrounding quotes: the index would name another
  // profile than the section.
  const char first = name.front();
  if (name.size() >= 2 && (first == '"' || first == '\'') && name.back() == first)
    return Error{"設定名全体を引用符で囲むことはできません"};
  if (!ini::utf8ToCp932(name)) return Error{"設定名に保存できない文字が含まれています"};
  return {};
}

std::string overwriteQuestion(const std::string& name) {
  return "登録名「" + name + "」はすでにあります。上書きしますか？";
}

int findSlotByName(const ProfileSlotTable& slots, const std::string& name) {
  if (name.empty()) return -1;
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (slots[i].name == name) return i;
  for (int i = 0; i < cat::kSlotCount; ++i)
    if (slots[i].registered() && ini::IniDocument::sameName(slots[i].name, name)) return i;
  return -1;
}

}  // namespace drovik
