#include "nvram/nvram_decoder.h"

#include <algorithm>
#include <array>
#include <optional>

#include "model/catalogue.h"
#include "nvram/nvram_conversions.h"

namespace drovik::nvram {
namespace {

// All-settings image: a header, then one record per user.
constexpr std::size_t kHeaderSize = 212;
constexpr std::size_t kUserRecordSize = 156;

constexpr std::size_t kSelectUserOffset = 0;
constexpr std::size_t kIfChgTimeOffset = 1;

struct InterfaceField {
  std::size_t offset;
  int item;  // catalogue::InterfaceItem
  Conversion conversion;
};

constexpr InterfaceField kInterfaceFields[] = {
    {31, cat::kErrDisp, Conversion::FfFlag},
    {44, cat::kIfSel, Conversion::List},
    {45, cat::kParallel, Conversion::List},
};

// Reference positions of the four top margins, in margin-slot order.
constexpr std::array<std::size_t, cat::kMarginCount> kMarginReferenceOffsets = {172, 176, 178, 180};

// User record, relative to its start. Choice items are named by their catalogue key.
struct UserField {
  std::size_t offset;
  std::string_view item;
  Conversion conversion;
};

constexpr UserField kUserFields[] = {
    {0, "Buzzer", Conversion::InvertedFlag},
    {1, "AsfEject", Conversion::Flag},
    {2, "AsfAga", Conversion::Flag},
    {3, "TearOffBack", Conversion::Flag},
    {4, "AutoOnline", Conversion::InvertedFlag},
    {6, "PrintSpeedFront", Conversion::Flag},
    {8, "PrintSpeedRear", Conversion::Flag},
    {9, "PrintSpeedCut", Conversion::Flag},
    {10, "PrDirFront", Conversion::Flag},
    {12, "PrDirRear", Conversion::Flag},
    {13, "PrDirCut", Conversion::Flag},
    {14, "CopyEnhFront", Conversion::Flag},
    {16, "CopyEnhRear", Conversion::Flag},
    {17, "CopyEnhCut", Conversion::Flag},
    {18, "GraphFront", Conversion::Flag},
    {20, "GraphRear", Conversion::Flag},
    {21, "GraphCut", Conversion::Flag},
    {22, "SkpPrfFront", Conversion::Flag},
    {24, "SkpPrfRear", Conversion::Flag},
    {25, "Small", Conversion::Flag},
    {26, "Ecomode", Conversion::InvertedFlag},
    {27, "RenPressFront", Conversion::Flag},
    {28, "RenPressRear", Conversion::Flag},
    {29, "Smoothing", Conversion::Flag},
    {30, "CheCheN", Conversion::InvertedFlag},
    {31, "AutoLf", Conversion::Flag},
    {32, "CharCode", Conversion::Flag},
    {33, "HighFont", Conversion::Flag},
    {34, "LqQuality", Conversion::Flag},
    {35, "InitCmd", Conversion::InvertedFlag},
    {36, "TofFf", Conversion::InvertedFlag},
    {37, "ImgWrap", Conversion::Flag},
    {38, "LevelE", Conversion::Flag},
    {39, "CodePage", Conversion::Flag},
    {40, "JpCharSet", Conversion::Flag},
    {41, "Jis90", Conversion::Flag},
    {42, "HeiseiFont", Conversion::Flag},
    {64, "Emul", Conversion::Emul},
    {65, "CharPitch", Conversion::List},
    {66, "InternationalChar", Conversion::List},
    {67, "DefaultAnk", Conversion::List},
    {71, "CharMode", Conversion::List},
    {73, "LinePitchFront", Conversion::LinePitch},
    {75, "LinePitchRear", Conversion::LinePitch},
    {76, "LinePitchCut", Conversion::LinePitch},
    {77, "SpRocketFront", Conversion::List},
    {79, "SpRocketRear", Conversion::List},
    {80, "LineLenFront", Conversion::LineLen},
    {82, "LineLenRear", Conversion::LineLen},
    {83, "TearOffFront", Conversion::List},
    {85, "TearOffRear", Conversion::List},
    {86, "EofPrnFront", Conversion::List},
    {88, "EofPrnRear", Conversion::List},
    {92, "PaperChgCmd", Conversion::PaperChgCmd},
    {93, "AgaHPos", Conversion::List},
    {94, "ChgStepRollerFront", Conversion::List},
    {95, "ChgStepRollerRear", Conversion::List},
    {104, "FormMode", Conversion::FormMode},
    {105, "FormLenFront", Conversion::FormLen},
    {107, "FormLenRear", Conversion::FormLen},
    {108, "AgaFront", Conversion::Thickness},
    {110, "AgaRear", Conversion::Thickness},
    {111, "AgaCut", Conversion::Thickness},
};
constexpr std::size_t kUserFieldCount = std::size(kUserFields);

constexpr std::size_t kNameOffset = 113;
constexpr std::size_t kNameSize = 10;
// The four top margins, in margin-slot order.
constexpr std::array<std::size_t, cat::kMarginCount> kMarginOffsets = {132, 136, 138, 140};

static_assert(kHeaderSize + (cat::kUserCount - 1) * kUserRecordSize + kMarginOffsets.back() + 2 ==
              kAllImageReadSize);

// Network image.
constexpr std::size_t kDhcpOffset = 0;
constexpr std::size_t kFirstOctetOffset = 1;  // IP address, subnet mask, gateway; 4 octets each
static_assert(kFirstOctetOffset + 4 * InterfaceRecord::kAddressCount == kNetworkImageReadSize);

constexpr std::string_view kUnsupportedValue =
    "サポート外の値が設定されているため、本設定は反映されません";

// The catalogue items of the user fields, resolved once.
const std::array<cat::ItemRef, kUserFieldCount>& userItemRefs() {
  static const auto refs = [] {
    std::array<cat::ItemRef, kUserFieldCount> out{};
    for (std::size_t f = 0; f < kUserFieldCount; ++f) out[f] = *cat::findItem(kUserFields[f].item);
    return out;
  }();
  return refs;
}

int listSize(const cat::Item& item) { return item.values ? item.values->size() : 0; }

std::int32_t currentValue(const ProfileModel& model, int user, cat::ItemRef ref) {
  return ref.scope == cat::Scope::Common ? model.values.common[user].index[ref.index]
                                         : model.values.paper[user].index[ref.index];
}

// "ユーザー１：フロントトラクタ用紙長さ\n" and the unsupported-value sentence.
std::string unsupportedValueWarning(int user, cat::ItemRef ref) {
  return cat::userCaption(user) + "：" + cat::groupAndLabel(ref, "") + "\n" +
         std::string(kUnsupportedValue);
}

std::int32_t bigEndianWord(std::span<const std::uint8_t> image, std::size_t offset) {
  return image[offset] * 256 + image[offset + 1];
}

Status checkImageSize(std::size_t size, std::size_t needed, std::string_view fileName) {
  if (size > kMaxImageSize) return Error{std::string(kImageTooLargeMessage)};
  if (size < needed)
    return Error{"ファイル「" + std::string(fileName) + "」のサイズ（" + std::to_string(size) +
                 "バイト）が足りないため、設定を読み込めません\n" + std::to_string(needed) +
                 "バイト以上のファイルが必要です"};
  return Status::ok();
}

void decodeHeader(ProfileModel& model, std::span<const std::uint8_t> image) {
  // The rest of the program uses SelectUser as a user index; other bytes are ignored.
  const std::uint8_t selectUser = image[kSelectUserOffset];
  if (selectUser < cat::selectUserList().size()) model.setSelectUser(selectUser);
  model.setIfChgTime(image[kIfChgTimeOffset]);
  for (const InterfaceField& field : kInterfaceFields) {
    const int size = listSize(cat::interfaceItems()[field.item]);
    const auto value = convertByte(field.conversion, image[field.offset], size);
    if (value && *value < size) model.setInterfaceChoice(field.item, *value);
  }
}

void decodeUser(ProfileModel& model, int user, std::span<const std::uint8_t> record,
                const std::array<std::int32_t, cat::kMarginCount>& references,
                std::vector<std::string>& warnings) {
  for (std::size_t f = 0; f < kUserFieldCount; ++f) {
    const UserField& field = kUserFields[f];
    const cat::ItemRef ref = userItemRefs()[f];
    const int size = listSize(cat::item(ref));
    const auto value = convertByte(field.conversion, record[field.offset], size);
    if (value && *value >= 0 && *value < size) {
      if (ref.scope == cat::Scope::Common)
        model.setCommonIndex(user, ref.index, *value);
      else
        model.setPaperIndex(user, ref.index, *value);
    }
    // Warned also when the item already stood at "no change" and the byte left it there.
    const bool checksSupport =
        field.conversion == Conversion::FormLen || field.conversion == Conversion::Thickness;
    if (checksSupport && currentValue(model, user, ref) == size - 1)
      warnings.push_back(unsupportedValueWarning(user, ref));
  }
  model.setUserName(user, userNameFromBytes(record.subspan(kNameOffset, kNameSize)));
  for (int slot = 0; slot < cat::kMarginCount; ++slot) {
    const std::size_t offset = kMarginOffsets[slot];
    const std::int32_t value = marginWord(record[offset], record[offset + 1]);
    const MarginPath path = slot < 2 ? MarginPath::Tractor : MarginPath::CutSheet;
    model.setMargin(user, cat::kMarginPaperItems[slot],
                    topMarginText(value, references[slot], path));
  }
}

}  // namespace

Result<NvramDecodeResult> decodeAllImage(ProfileModel& model, std::span<const std::uint8_t> image,
                                         std::string_view fileName) {
  if (Status size = checkImageSize(image.size(), kAllImageReadSize, fileName); !size)
    return size.error();
  decodeHeader(model, image);
  std::array<std::int32_t, cat::kMarginCount> references{};
  for (int slot = 0; slot < cat::kMarginCount; ++slot)
    references[slot] = bigEndianWord(image, kMarginReferenceOffsets[slot]);
  NvramDecodeResult result;
  for (int user = 0; user < cat::kUserCount; ++user) {
    // The last record may end early: nothing after its last margin is read.
    const std::size_t start = kHeaderSize + user * kUserRecordSize;
    const auto record = image.subspan(start, std::min(kUserRecordSize, image.size() - start));
    decodeUser(model, user, record, references, result.warnings);
  }
  return result;
}

Status decodeNetworkImage(ProfileModel& model, std::span<const std::uint8_t> image,
                          std::string_view fileName) {
  if (Status size = checkImageSize(image.size(), kNetworkImageReadSize, fileName); !size)
    return size;
  const int dhcpSize = listSize(cat::interfaceItems()[cat::kDhcp]);
  if (const auto dhcp = convertByte(Conversion::FfFlag, image[kDhcpOffset], dhcpSize))
    model.setInterfaceChoice(cat::kDhcp, *dhcp);
  std::size_t offset = kFirstOctetOffset;
  for (int item : {cat::kIpAddress, cat::kSubnetMask, cat::kDefaultGateway})
    for (int octet = 0; octet < 4; ++octet) model.setOctet(item, octet, image[offset++]);
  return Status::ok();
}

}  // namespace drovik::nvram
