#include "nvram/nvram_decoder.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace drovik::nvram {
namespace {

// The printer's layout, written down independently of the decoder.
constexpr std::size_t kHeader = 212;
constexpr std::size_t kRecord = 156;

struct AllImage {
  explicit AllImage(std::size_t size = 1758) : bytes(size, 0) {}
  AllImage& header(std::size_t offset, std::uint8_t value) {
    bytes.at(offset) = value;
    return *this;
  }
  AllImage& user(int u, std::size_t offset, std::uint8_t value) {  // u = 1..10
    return header(kHeader + kRecord * static_cast<std::size_t>(u - 1) + offset, value);
  }
  AllImage& word(std::size_t offset, std::uint16_t value) {  // high byte first
    header(offset, static_cast<std::uint8_t>(value >> 8));
    return header(offset + 1, static_cast<std::uint8_t>(value & 0xFF));
  }
  AllImage& userWord(int u, std::size_t offset, std::uint16_t value) {
    return word(kHeader + kRecord * static_cast<std::size_t>(u - 1) + offset, value);
  }
  std::vector<std::uint8_t> bytes;
};

struct ItemPos {
  bool common;
  int index;
};

ItemPos findItem(std::string_view name) {
  const auto ref = cat::findItem(name);
  EXPECT_TRUE(ref.has_value()) << "no item " << name;
  if (!ref) return {false, 0};
  return {ref->scope == cat::Scope::Common, ref->index};
}

void setItem(ProfileModel& m, int user, std::string_view item, std::int32_t value) {
  const ItemPos p = findItem(item);
  p.common ? m.setCommonIndex(user, p.index, value) : m.setPaperIndex(user, p.index, value);
}

// Record form, text form and write flag of a decoded (or, with written false, kept) value.
void expectItem(const ProfileModel& m, int user, std::string_view item, std::int32_t value,
                bool written = true) {
  const ItemPos p = findItem(item);
  const int i = p.index;
  const auto& c = m.values.common[user];
  const auto& pr = m.values.paper[user];
  EXPECT_EQ(p.common ? c.index[i] : pr.index[i], value) << item << " of user " << user + 1;
  EXPECT_EQ(p.common ? m.text.common[user][i] : m.text.paper[user][i], std::to_string(value))
      << item;
  EXPECT_EQ(p.common ? m.valueWrite.common[user][i] : m.valueWrite.paper[user][i], written) << item;
}

std::string ifaceText(const ProfileModel& m, std::string_view key) {
  for (std::size_t k = 0; k < cat::interfaceKeys().size(); ++k)
    if (cat::interfaceKeys()[k].key == key) return m.text.iface[k];
  ADD_FAILURE() << "no key " << key;
  return {};
}

// Everything a decoder could change: both value forms, write flags, include flags.
std::string dump(const ProfileModel& m) {
  std::ostringstream out;
  const auto put = [&](const auto& range) {
    for (const auto& v : range) out << v << '|';
  };
  for (const ProfileText& t : {ProfileText::of(m.values), m.text}) {
    out << t.selectUser << '|';
    put(t.userName);
    for (const auto& u : t.paper) put(u);
    for (const auto& u : t.common) put(u);
    put(t.iface);
  }
  out << m.values.iface.ifChgTimeText << m.valueWrite.selectUser;
  for (const auto& a : m.values.iface.octetText) put(a);
  put(m.valueWrite.userName);
  for (const auto& u : m.valueWrite.paper) put(u);
  for (const auto& u : m.valueWrite.common) put(u);
  put(m.valueWrite.iface);
  put(m.flags.state);
  put(m.flagWrite);
  return out.str();
}

std::vector<std::string> decodeAll(ProfileModel& m, const AllImage& image) {
  auto result = decodeAllImage(m, image.bytes);
  EXPECT_TRUE(result.isOk()) << (result.isOk() ? "" : result.message());
  return result.isOk() ? result->warnings : std::vector<std::string>{};
}

// One byte per user-record field, and the list position it must give; kKeep: no change.
constexpr std::int32_t kKeep = -1;
struct Field {
  std::size_t offset;
  const char* item;
  std::uint8_t byte;
  std::int32_t position;
};

// clang-format off
constexpr Field kFields[] = {
    // flags ("inverted" ones give 0 for a non-zero byte)
    {0, "Buzzer", 9, 0}, {1, "AsfEject", 9, 1}, {2, "AsfAga", 9, 1}, {3, "TearOffBack", 9, 1},
    {4, "AutoOnline", 9, 0}, {6, "PrintSpeedFront", 9, 1}, {8, "PrintSpeedRear", 9, 1},
    {9, "PrintSpeedCut", 9, 1}, {10, "PrDirFront", 9, 1}, {12, "PrDirRear", 9, 1},
    {13, "PrDirCut", 9, 1}, {14, "CopyEnhFront", 9, 1}, {16, "CopyEnhRear", 9, 1},
    {17, "CopyEnhCut", 9, 1}, {18, "GraphFront", 9, 1}, {20, "GraphRear", 9, 1},
    {21, "GraphCut", 9, 1}, {22, "SkpPrfFront", 9, 1}, {24, "SkpPrfRear", 9, 1},
    {25, "Small", 9, 1}, {26, "Ecomode", 9, 0}, {27, "RenPressFront", 9, 1},
    {28, "RenPressRear", 9, 1}, {29, "Smoothing", 9, 1}, {30, "CheCheN", 9, 0},
    {31, "AutoLf", 9, 1}, {32, "CharCode", 9, 1}, {33, "HighFont", 9, 1}, {34, "LqQuality", 9, 1},
    {35, "InitCmd", 9, 0}, {36, "TofFf", 9, 0}, {37, "ImgWrap", 9, 1}, {38, "LevelE", 9, 1},
    {39, "CodePage", 9, 1}, {40, "JpCharSet", 9, 1}, {41, "Jis90", 9, 1}, {42, "HeiseiFont", 9, 1},
    // lists: the last position, then the byte after it
    {65, "CharPitch", 5, 5}, {65, "CharPitch", 6, kKeep}, {66, "InternationalChar", 14, 14},
    {66, "InternationalChar", 15, kKeep}, {67, "DefaultAnk", 4, 4}, {67, "DefaultAnk", 5, kKeep},
    {71, "CharMode", 2, 2}, {71, "CharMode", 3, kKeep}, {77, "SpRocketFront", 3, 3},
    {77, "SpRocketFront", 4, kKeep}, {79, "SpRocketRear", 3, 3}, {79, "SpRocketRear", 4, kKeep},
    {83, "TearOffFront", 2, 2}, {83, "TearOffFront", 3, kKeep}, {85, "TearOffRear", 2, 2},
    {86, "EofPrnFront", 2, 2}, {88, "EofPrnRear", 2, 2}, {88, "EofPrnRear", 3, kKeep},
    {93, "AgaHPos", 2, 2}, {94, "ChgStepRollerFront", 2, 2}, {94, "ChgStepRollerFront", 3, kKeep},
    {95, "ChgStepRollerRear", 4, 4}, {95, "ChgStepRollerRear", 5, kKeep},
    // code tables
    {64, "Emul", 2, 2}, {64, "Emul", 1, kKeep}, {73, "LinePitchFront", 8, 6},
    {75, "LinePitchRear", 2, 0}, {76, "LinePitchCut", 7, 5}, {80, "LineLenFront", 2, 0},
    {82, "LineLenRear", 1, 2}, {92, "PaperChgCmd", 3, 2}, {92, "PaperChgCmd", 2, kKeep},
    {104, "FormMode", 20, 6}, {104, "FormMode", 8, kKeep}, {105, "FormLenFront", 14, 14},
    {107, "FormLenRear", 5, 4}, {108, "AgaFront", 128, 3}, {110, "AgaRear", 138, 13},
    {111, "AgaCut", 2, 2},
};
// clang-format on

TEST(NvramAllImage, EachFieldChangesOnlyItsOwnItemOfItsOwnUser) {
  for (std::size_t f = 0; f < std::size(kFields); ++f) {
    const Field& field = kFields[f];
    const int user = static_cast<int>(f % 10);
    ProfileModel expected;
    decodeAll(expected, AllImage{});
    if (field.position != kKeep) {
      setItem(expected, user, field.item, field.position);
    } else {  // the byte is ignored: the item keeps its default, unmarked
      const ItemPos p = findItem(field.item);
      const auto items = p.common ? cat::commonItems() : cat::paperItems();
      setItem(expected, user, field.item, items[p.index].defaultIndex);
      if (p.common)
        expected.valueWrite.common[user][p.index] = false;
      else
        expected.valueWrite.paper[user][p.index] = false;
    }
    ProfileModel m;
    decodeAll(m, AllImage{}.user(user + 1, field.offset, field.byte));
    EXPECT_EQ(dump(m), dump(expected)) << field.item << " byte " << int(field.byte);
  }
  // Kept values are not marked: a list item outside its range stays as it was.
  ProfileModel m;
  setItem(m, 0, "CharMode", 1);
  m.clearWriteFlags();
  decodeAll(m, AllImage{}.user(1, 71, 3));
  expectItem(m, 0, "CharMode", 1, false);
  expectItem(m, 0, "Buzzer", 1);
}

TEST(NvramAllImage, UnlistedBytesAreIgnored) {
  std::set<std::size_t> listed = {0, 1, 31, 44, 45, 172, 173, 176, 177, 178, 179, 180, 181};
  std::set<std::size_t> inRecord = {132, 133, 136, 137, 138, 139, 140, 141};
  for (std::size_t i = 113; i < 123; ++i) inRecord.insert(i);  // name
  for (const Field& f : kFields) inRecord.insert(f.offset);
  for (std::size_t u = 0; u < 10; ++u)
    for (std::size_t offset : inRecord) listed.insert(kHeader + kRecord * u + offset);
  AllImage noisy(4000);
  for (std::size_t i = 0; i < noisy.bytes.size(); ++i)
    if (!listed.count(i)) noisy.bytes[i] = 0xA5;
  ProfileModel clean;
  ProfileModel dirty;
  decodeAll(clean, AllImage{});
  decodeAll(dirty, noisy);
  EXPECT_EQ(dump(dirty), dump(clean));
}

TEST(NvramAllImage, UnsupportedValuesWarnPerUserInImageOrder) {
  const std::string tail = "\nサポート外の値が設定されているため、本設定は反映されません";
  AllImage image;
  image.user(1, 107, 16).user(1, 111, 3).user(2, 105, 200).user(2, 108, 3).user(10, 110, 3);
  ProfileModel m;
  EXPECT_EQ(decodeAll(m, image), (std::vector<std::string>{
                                     "ユーザー１：リアトラクタ用紙長さ" + tail,
                                     "ユーザー１：単票紙厚設定" + tail,
                                     "ユーザー２：フロントトラクタ用紙長さ" + tail,
                                     "ユーザー２：フロントトラクタ紙厚設定" + tail,
                                     "ユーザー１０：リアトラクタ紙厚設定" + tail,
                                 }));
  expectItem(m, 0, "FormLenRear", 16);
  expectItem(m, 0, "AgaCut", 14);
  expectItem(m, 1, "FormLenFront", 16);

  AllImage all;
  for (int u = 1; u <= 10; ++u)
    all.user(u, 105, 16).user(u, 107, 255).user(u, 108, 3).user(u, 110, 3).user(u, 111, 3);
  const auto warnings = decodeAll(m, all);
  ASSERT_EQ(warnings.size(), 50u);
  EXPECT_EQ(warnings[5], "ユーザー２：フロントトラクタ用紙長さ" + tail);
  EXPECT_EQ(warnings[49], "ユーザー１０：単票紙厚設定" + tail);
}

TEST(NvramAllImage, ThicknessWithoutEntryWarnsOnlyWhenAlreadyAtNoChange) {
  ProfileModel m;
  setItem(m, 0, "AgaFront", 14);
  setItem(m, 1, "AgaFront", 5);
  m.clearWriteFlags();
  const auto warnings = decodeAll(m, AllImage{}.user(1, 108, 100).user(2, 108, 100));
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_EQ(warnings[0].substr(0, warnings[0].find('\n')), "ユーザー１：フロントトラクタ紙厚設定");
  expectItem(m, 0, "AgaFront", 14, false);
  expectItem(m, 1, "AgaFront", 5, false);
}

TEST(NvramAllImage, UserNamesAreDecodedAndCleared) {
  AllImage image;
  const std::uint8_t first[] = {'A', 'B', 0xB1, 0xE0, 0, 'Z'};
  for (std::size_t i = 0; i < std::size(first); ++i) image.user(1, 113 + i, first[i]);
  for (std::size_t i = 0; i < 11; ++i) image.user(2, 113 + i, static_cast<std::uint8_t>('0' + i));
  ProfileModel m;
  m.setUserName(2, "OLDNAME");
  m.clearWriteFlags();
  decodeAll(m, image);
  EXPECT_EQ(m.values.userName[0], "AB\uFF71\u00E0");
  EXPECT_EQ(m.text.userName[0], "AB\uFF71\u00E0");
  EXPECT_EQ(m.text.userName[1], "0123456789");  // the 11th byte is not part of the name
  // A zero first byte clears the name: stored empty, held as the default.
  EXPECT_EQ(m.text.userName[2], "");
  EXPECT_EQ(m.values.userName[2], "U03");
  for (int u = 0; u < 10; ++u) EXPECT_TRUE(m.valueWrite.userName[u]);
}

TEST(NvramAllImage, TopMarginsUseTheirOwnReference) {
  AllImage image;
  image.word(172, 1000).word(174, 0xFFFF).word(176, 2000).word(178, 3000).word(180, 4000);
  // One inch (360) beyond each reference less 120 (tractors) or 90 (cut sheet).
  image.userWord(5, 132, 1240).userWord(5, 136, 2240).userWord(5, 138, 3270);
  image.userWord(5, 140, 4270).userWord(6, 132, 0xFF10);  // -240; user 6 rest 0: negative
  ProfileModel m;
  decodeAll(m, image);
  const std::string expected[2][4] = {{"25.4", "25.4", "25.4", "25.4"},
                                      {"-78.7", "-132.5", "-205.3", "-275.6"}};
  for (int u = 4; u <= 5; ++u) {
    for (int slot = 0; slot < 4; ++slot) {
      const int item = cat::kMarginPaperItems[slot];
      EXPECT_EQ(m.values.paper[u].margin[slot], expected[u - 4][slot]) << u << slot;
      EXPECT_EQ(m.text.paper[u][item], expected[u - 4][slot]);
      EXPECT_TRUE(m.valueWrite.paper[u][item]);
    }
  }
}

TEST(NvramAllImage, HeaderItemsAndWhatStaysAlone) {
  ProfileModel m;
  m.flags.state[5] = 0;
  m.setOctet(cat::kIpAddress, 0, 10);
  m.clearWriteFlags();
  decodeAll(m, AllImage{}.header(0, 9).header(1, 200).header(31, 0xFF).header(44, 3).header(45, 2));
  EXPECT_EQ(m.values.selectUser, 9);
  EXPECT_EQ(m.text.selectUser, "9");
  EXPECT_EQ(m.values.iface.ifChgTime, 200);
  EXPECT_EQ(m.values.iface.ifChgTimeText, "200");
  EXPECT_EQ(ifaceText(m, "IfChgTime"), "200");
  EXPECT_EQ(ifaceText(m, "ErrDisp"), "1");
  EXPECT_EQ(ifaceText(m, "IfSel"), "3");
  EXPECT_EQ(ifaceText(m, "Parallel"), "2");
  EXPECT_EQ(m.values.iface.parallel, 2);
  EXPECT_TRUE(m.valueWrite.selectUser);
  const std::array<bool, cat::kInterfaceItemCount> written = {true,  true,  true,  false,
                                                              false, false, false, true};
  EXPECT_EQ(m.valueWrite.iface, written);
  EXPECT_EQ(m.flags.state[5], 0);
  EXPECT_EQ(m.flagWrite, CheckFlagWriteFlags{});
  EXPECT_EQ(m.values.iface.octet[0][0], 10);
}

TEST(NvramAllImage, HeaderBytesOutOfRangeKeepTheValue) {
  for (std::uint8_t selectUser : std::initializer_list<std::uint8_t>{10, 255}) {
    ProfileModel m;
    m.setSelectUser(3);
    m.setInterfaceChoice(cat::kIfSel, 2);
    m.setInterfaceChoice(cat::kParallel, 1);
    m.clearWriteFlags();
    decodeAll(m, AllImage{}.header(0, selectUser).header(44, 4).header(45, 0xFF));
    EXPECT_EQ(m.values.selectUser, 3);
    EXPECT_EQ(m.text.selectUser, "3");
    EXPECT_FALSE(m.valueWrite.selectUser);
    EXPECT_EQ(m.values.iface.ifSel, 2);
    EXPECT_EQ(m.values.iface.parallel, 1);
  }
}

TEST(NvramAllImage, ShortAndOversizedImagesAreRefusedAndChangeNothing) {
  for (std::size_t size : {0u, 1u, 1757u, 102401u}) {
    ProfileModel m;
    const std::string before = dump(m);
    AllImage image(size);
    if (size > 0) image.header(0, 1);
    const auto result = decodeAllImage(m, image.bytes, "rnvr_all.bin");
    ASSERT_FALSE(result.isOk()) << size;
    if (size > 102400) {
      EXPECT_EQ(result.message(), "ファイルサイズを100KB以下にしてください");
    } else {
      EXPECT_NE(result.message().find("「rnvr_all.bin」"), std::string::npos);
      EXPECT_NE(result.message().find(std::to_string(size) + "バイト"), std::string::npos);
    }
    EXPECT_EQ(dump(m), before) << size;
  }
  for (std::size_t size : {1758u, 102400u}) {
    ProfileModel m;
    ASSERT_TRUE(decodeAllImage(m, AllImage(size).header(0, 7).bytes).isOk()) << size;
    EXPECT_EQ(m.values.selectUser, 7);
  }
}

std::vector<std::uint8_t> networkImage(std::size_t size = 13) {
  std::vector<std::uint8_t> bytes = {0xFF, 192, 168, 1, 20, 255, 255, 255, 0, 192, 168, 1, 254};
  bytes.resize(size);
  return bytes;
}

TEST(NvramNetworkImage, DecodesDhcpAndTheThreeAddresses) {
  ProfileModel m;
  ASSERT_TRUE(decodeNetworkImage(m, networkImage()).isOk());
  EXPECT_EQ(m.values.iface.dhcp, 1);
  EXPECT_EQ(ifaceText(m, "DHCP"), "1");
  const int octets[3][4] = {{192, 168, 1, 20}, {255, 255, 255, 0}, {192, 168, 1, 254}};
  const std::string names[3] = {"IPAddress", "SubnetMask", "DefaultGateway"};
  for (int a = 0; a < 3; ++a) {
    for (int o = 0; o < 4; ++o) {
      const std::string text = std::to_string(octets[a][o]);
      EXPECT_EQ(m.values.iface.octet[a][o], octets[a][o]);
      EXPECT_EQ(m.values.iface.octetText[a][o], text);
      EXPECT_EQ(ifaceText(m, names[a] + std::to_string(o + 1)), text);
    }
  }
  const std::array<bool, cat::kInterfaceItemCount> written = {false, false, false, true,
                                                              true,  true,  true,  false};
  EXPECT_EQ(m.valueWrite.iface, written);

  auto image = networkImage();
  image[0] = 0xFE;  // only 0xFF means DHCP on
  ASSERT_TRUE(decodeNetworkImage(m, image).isOk());
  EXPECT_EQ(m.values.iface.dhcp, 0);
}

TEST(NvramNetworkImage, ShortAndOversizedImagesAreRefused) {
  for (std::size_t size : {0u, 12u, 102401u}) {
    ProfileModel m;
    const std::string before = dump(m);
    const Status status = decodeNetworkImage(m, networkImage(size), "rnvr_nw.bin");
    ASSERT_FALSE(status.isOk()) << size;
    if (size < 13) {
      EXPECT_NE(status.message().find("「rnvr_nw.bin」"), std::string::npos);
      EXPECT_NE(status.message().find(std::to_string(size) + "バイト"), std::string::npos);
    }
    EXPECT_EQ(dump(m), before);
  }
  ProfileModel m;
  ASSERT_TRUE(decodeNetworkImage(m, networkImage(102400)).isOk());
  EXPECT_EQ(m.values.iface.octet[2][3], 254);
}

}  // namespace
}  // namespace drovik::nvram
