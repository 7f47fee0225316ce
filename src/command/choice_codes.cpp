#include "command/choice_codes.h"

#include <algorithm>
#include <array>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

namespace drovik::codes {
namespace {

namespace cat = catalogue;
using Codes = std::span<const std::uint8_t>;

struct TextFix {
  int index;
  std::string_view text;
};
using TextFixes = std::span<const TextFix>;

// How one item's choices reach the printer. An empty code table means code = index.
struct ChoiceCoding {
  Codes codes;
  Codes mCodes;          // empty: as codes
  TextFixes textFixes;   // report wording that differs from the value list
  TextFixes mTextFixes;  // M-model wording, on top of textFixes
};

constexpr std::uint8_t kFormLenCodes[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09,
                                          0x0A, 0x0B, 0x0C, 0x0D, 0x00, 0x0E, 0x0F, 0xFF};
constexpr std::uint8_t kLinePitchCodes[] = {0x02, 0x03, 0x04, 0x05, 0x00, 0x01, 0x08};
constexpr std::uint8_t kLineLenCodes[] = {0x02, 0x00, 0x01};
constexpr std::uint8_t kAgaCodes[] = {0x00, 0x01, 0x02, 0x80, 0x81, 0x82, 0x83, 0x84,
                                      0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0xFF};
constexpr std::uint8_t kAgaMCodes[] = {0x02, 0x02, 0x02, 0x80, 0x81, 0x82, 0x83, 0x84,
                                       0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0xFF};
constexpr std::uint8_t kTearOffCodes[] = {0x00, 0x02, 0x01};
constexpr std::uint8_t kTearOffMCodes[] = {0x00, 0x01, 0x01};
constexpr std::uint8_t kEmulCodes[] = {0x03, 0x00, 0x02};
// Bits: 01 cut sheet, 02 "ＤＩＤ↓", 04 "ＡＳＦ↓", 10 rear tractor.
constexpr std::uint8_t kFormModeCodes[] = {0x00, 0x02, 0x04, 0x06, 0x10, 0x12,
                                           0x14, 0x16, 0x01, 0x03, 0x05, 0x07};
constexpr std::uint8_t kPaperChgCmdCodes[] = {0x00, 0x01, 0x03};

constexpr TextFix kFormLenFixes[] = {
    {1, "３ ２/３インチ"}, {6, "５ ２/３インチ"}, {16, "設定変更なし"}};
constexpr TextFix kAgaFixes[] = {{14, "設定変更なし"}};
constexpr TextFix kAgaMFixes[] = {{0, "自動"}, {1, "自動"}, {2, "自動"}};
constexpr TextFix kTearOffMFixes[] = {{0, "無効"}, {1, "有効"}, {2, "有効"}};
constexpr TextFix kPrintSpeedMFixes[] = {{0, "標準"}};
constexpr TextFix kSkipMFixes[] = {{0, "スキップしない"}, {1, "スキップする"}};
constexpr TextFix kCopyEnhMFixes[] = {{1, "強化する１"}};
constexpr TextFix kBuzzerMFixes[] = {{0, "オン"}, {1, "オフ"}};
constexpr TextFix kAsfEjectMFixes[] = {{0, "後方排出"}, {1, "手前排出"}};
constexpr TextFix kSmallMFixes[] = {{0, "使用しない"}, {1, "使用する"}};

constexpr ChoiceCoding kFormLen{kFormLenCodes, {}, kFormLenFixes, {}};
constexpr ChoiceCoding kLinePitch{kLinePitchCodes, {}, {}, {}};
constexpr ChoiceCoding kLineLen{kLineLenCodes, {}, {}, {}};
constexpr ChoiceCoding kAga{kAgaCodes, kAgaMCodes, kAgaFixes, kAgaMFixes};
constexpr ChoiceCoding kTearOff{kTearOffCodes, kTearOffMCodes, {}, kTearOffMFixes};
constexpr ChoiceCoding kPrintSpeedM{{}, {}, {}, kPrintSpeedMFixes};
constexpr ChoiceCoding kSkipM{{}, {}, {}, kSkipMFixes};
constexpr ChoiceCoding kCopyEnhM{{}, {}, {}, kCopyEnhMFixes};
constexpr ChoiceCoding kEmul{kEmulCodes, {}, {}, {}};
constexpr ChoiceCoding kFormMode{kFormModeCodes, {}, {}, {}};
constexpr ChoiceCoding kPaperChgCmd{kPaperChgCmdCodes, {}, {}, {}};
constexpr ChoiceCoding kBuzzerM{{}, {}, {}, kBuzzerMFixes};
constexpr ChoiceCoding kAsfEjectM{{}, {}, {}, kAsfEjectMFixes};
constexpr ChoiceCoding kSmallM{{}, {}, {}, kSmallMFixes};
constexpr ChoiceCoding kIdentity{};

struct NamedCoding {
  std::string_view item;
  const ChoiceCoding* coding;
};

// Items not listed send their index as the code with the value list's text.
constexpr NamedCoding kCodings[] = {
    {"FormLenFront", &kFormLen},
    {"FormLenRear", &kFormLen},
    {"LinePitchFront", &kLinePitch},
    {"LinePitchRear", &kLinePitch},
    {"LinePitchCut", &kLinePitch},
    {"LineLenFront", &kLineLen},
    {"LineLenRear", &kLineLen},
    {"AgaFront", &kAga},
    {"AgaRear", &kAga},
    {"AgaCut", &kAga},
    {"TearOffFront", &kTearOff},
    {"TearOffRear", &kTearOff},
    {"PrintSpeedFront", &kPrintSpeedM},
    {"SkpPrfFront", &kSkipM},
    {"SkpPrfRear", &kSkipM},
    {"CopyEnhFront", &kCopyEnhM},
    {"CopyEnhRear", &kCopyEnhM},
    {"CopyEnhCut", &kCopyEnhM},
    {"Emul", &kEmul},
    {"FormMode", &kFormMode},
    {"PaperChgCmd", &kPaperChgCmd},
    {"Buzzer", &kBuzzerM},
    {"AsfEject", &kAsfEjectM},
    {"Small", &kSmallM},
};

// Every coded or listed value looks its item up: by its place in the catalogue's tables, which
// costs a subtraction, where hashing its name cost more than the rest of coding the value.
const ChoiceCoding& codingOf(const cat::Item& item) {
  struct ScopeCodings {
    std::span<const cat::Item> items;
    std::vector<const ChoiceCoding*> codings;  // by position in items
  };
  static const auto byScope = [] {
    // In the order of cat::Scope.
    std::array<ScopeCodings, 3> tables = {ScopeCodings{cat::paperItems(), {}},
                                          ScopeCodings{cat::commonItems(), {}},
                                          ScopeCodings{cat::interfaceItems(), {}}};
    for (ScopeCodings& table : tables) table.codings.assign(table.items.size(), &kIdentity);
    for (const NamedCoding& named : kCodings) {
      const auto ref = cat::findItem(named.item);
      if (ref) tables[static_cast<std::size_t>(ref->scope)].codings[ref->index] = named.coding;
    }
    return tables;
  }();
  const std::less<const cat::Item*> before;
  for (const ScopeCodings& table : byScope) {
    const cat::Item* begin = table.items.data();
    if (!before(&item, begin) && before(&item, begin + table.items.size()))
      return *table.codings[&item - begin];
  }
  // An item that is not the catalogue's own (a copy): by name.
  for (const NamedCoding& named : kCodings)
    if (named.item == item.name) return *named.coding;
  return kIdentity;
}

Codes codesIn(const ChoiceCoding& coding, CommandVariant variant) {
  return variant == CommandVariant::M && !coding.mCodes.empty() ? coding.mCodes : coding.codes;
}

bool isChoice(const cat::Item& item) {
  return item.kind == cat::ValueKind::Choice && item.values != nullptr;
}

int countOf(const cat::Item& item, const ChoiceCoding& coding) {
  int count = item.values->size();
  // A table shorter than its value list would be a slip; never index past it.
  for (Codes codes : {coding.codes, coding.mCodes})
    if (!codes.empty()) count = std::min(count, static_cast<int>(codes.size()));
  return count;
}

std::uint8_t codeAt(Codes codes, int index) {
  return codes.empty() ? static_cast<std::uint8_t>(index) : codes[index];
}

std::optional<std::string_view> fixedText(TextFixes fixes, int index) {
  for (const TextFix& fix : fixes)
    if (fix.index == index) return fix.text;
  return std::nullopt;
}

}  // namespace

int choiceCount(const cat::Item& item) {
  return isChoice(item) ? countOf(item, codingOf(item)) : 0;
}

std::optional<std::uint8_t> choiceCode(const cat::Item& item, std::int32_t index,
                                       CommandVariant variant) {
  if (!isChoice(item)) return std::nullopt;
  const ChoiceCoding& coding = codingOf(item);
  if (index < 0 || index >= countOf(item, coding)) return std::nullopt;
  return codeAt(codesIn(coding, variant), index);
}

std::string choiceText(const cat::Item& item, std::int32_t index, CommandVariant variant) {
  return std::string(choiceTextView(item, index, variant));
}

std::string_view choiceTextView(const cat::Item& item, std::int32_t index, CommandVariant variant) {
  if (!isChoice(item)) return {};
  const ChoiceCoding& coding = codingOf(item);
  if (index < 0 || index >= countOf(item, coding)) return {};
  if (variant == CommandVariant::M)
    if (auto text = fixedText(coding.mTextFixes, index)) return *text;
  if (auto text = fixedText(coding.textFixes, index)) return *text;
  return item.values->entries[index];
}

std::optional<int> choiceOfCode(const cat::Item& item, std::uint8_t code, CommandVariant variant) {
  if (!isChoice(item)) return std::nullopt;
  const ChoiceCoding& coding = codingOf(item);
  const Codes codes = codesIn(coding, variant);
  const int count = countOf(item, coding);
  for (int index = 0; index < count; ++index)
    if (codeAt(codes, index) == code) return index;
  return std::nullopt;
}

}  // namespace drovik::codes
