#include "hostile/ini_layouts.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "hostile/complete_profile.h"
#include "ini/text_codec.h"
#include "support/store_writes.h"
#include "support/temp_dir.h"

namespace drovik::hostile {
namespace {

using drovik::test::readFile;
using drovik::test::TempDir;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

std::string utf16(const std::string& utf8) {
  auto encoded = ini::utf8ToUtf16Le(utf8);
  EXPECT_TRUE(encoded);
  return encoded ? *encoded : std::string();
}

// The 1461 key lines of a complete profile section, without its header.
const std::string& fullSectionBody() {
  static const std::string body = [] {
    const TempDir scratch;
    const ProfileStore store(StorePaths::inDirectory(scratch.path()));
    EXPECT_TRUE(test::saveSection(store, completeProfile(5), "X"));
    return readFile(store.paths().settingsFile).substr(std::string("[X]\r\n").size());
  }();
  return body;
}

std::string numbered(const char* format, int n) {
  char name[32];
  std::snprintf(name, sizeof name, format, n);
  return name;
}

std::int32_t loadedPaper(const ProfileStore& store, const std::string& section, int item) {
  ProfileModel model;
  EXPECT_TRUE(store.loadSection(model, section));
  return model.values.paper[0].index[item];
}

constexpr int kFormLenFront = 0;
constexpr int kLinePitchFront = 1;

IniLayout twentyMegabytes() {
  // Fewer sections under AddressSanitizer, where every byte costs several times as much.
  const std::size_t target = kSanitized ? std::size_t{4} << 20 : std::size_t{20} << 20;
  const std::string& body = fullSectionBody();
  const int count = static_cast<int>(target / body.size()) + 1;
  IniLayout l;
  l.profile = numbered("P%04d", count / 2);
  l.index = "[SetName]\r\n";
  for (int i = 0; i < count; ++i) {
    const std::string name = numbered("P%04d", i);
    std::string& part = i < count / 2 ? l.before : i == count / 2 ? l.section : l.after;
    part += "[" + name + "]\r\n" + body;
    if (i % 40 == 0 && i / 40 < cat::kSlotCount)
      l.index += "Set" + std::to_string(i / 40) + "=" + name + "\r\n";
  }
  l.check = [](const ProfileStore& store) {
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    EXPECT_EQ(slots[1].name, "P0040");
    const ProfileModel saved = completeProfile(5);
    EXPECT_EQ(slots[1].userName, saved.text.userName[saved.values.selectUser]);
  };
  return l;
}

IniLayout hundredThousandSections() {
  IniLayout l;
  l.profile = "S050000";
  for (int i = 0; i < 100000; ++i) {
    std::string& part = i < 50000 ? l.before : i == 50000 ? l.section : l.after;
    part += "[" + numbered("S%06d", i) + "]\r\nUser01_FormLenFront=" + std::to_string(i % 7) +
            "\r\nForeign=" + std::to_string(i) + "\r\n";
  }
  l.index = "[SetName]\r\nSet0=S000001\r\nSet1=S099999\r\n";
  l.keptInSection = {"Foreign=50000\r\n"};
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "S099999", kFormLenFront), 99999 % 7);
    EXPECT_EQ(loadedPaper(store, "s050000", kFormLenFront), 50000 % 7);
  };
  return l;
}

IniLayout megabyteLines() {
  const std::size_t mb = std::size_t{1} << 20;
  IniLayout l;
  l.profile = "P";
  l.before = "[Big]\r\nValue=" + std::string(mb, 'v') + "\r\n" + std::string(mb, ' ') + "\r\n";
  l.section = "[P]\r\nUser1=" + std::string(mb, 'n') + "\r\n" + std::string(mb, 'o') + "\r\n;" +
              std::string(mb, 'c') + "\r\nUser01_FormLenFront=2\r\n";
  // An unclosed bracket line of a megabyte, and a last line without a line end.
  l.after = "[After]\r\n[" + std::string(mb, 'x') + "\r\nk=" + std::string(mb, 'z');
  l.index = "[SetName]\r\nSet0=P\r\n";
  l.keptInSection = {"\r\n" + std::string(mb, 'o') + "\r\n;" + std::string(mb, 'c') + "\r\n"};
  l.check = [](const ProfileStore& store) {
    ProfileModel model;
    ASSERT_TRUE(store.loadSection(model, "P"));
    EXPECT_EQ(model.text.userName[0], std::string(10, 'n'));  // cut to the field's size
    EXPECT_EQ(model.values.paper[0].index[kFormLenFront], 2);
  };
  return l;
}

IniLayout nulBytes() {
  using namespace std::string_literals;
  IniLayout l;
  l.profile = "P";
  l.before = "\0\0\r\n[A\0B]\r\nK\0ey=v\0al\r\n\0\0\0\r\n"s;
  l.section = "[P]\r\nUser01_FormLenFront=3\0 9\r\nUser2=ab\0cd\r\n\0=x\r\nKeep\0Me\r\n"s;
  l.after = "[Q]\r\nk=\0\r\n\0[R]\r\n\0"s;
  l.index = "[SetName]\r\nSet0=P\r\nSet1=A\0B\r\n"s;
  l.keptInSection = {"\r\nKeep\0Me\r\n"s};
  l.loadedValuesUnwritable = true;  // User2 holds a NUL
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "P", kFormLenFront), 3);
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    EXPECT_EQ(slots[1].name, "A\0B"s);
  };
  return l;
}

IniLayout nulInProfileName() {
  using namespace std::string_literals;
  IniLayout l;
  l.profile = "P\0Q"s;
  l.before = "[Other]\r\nk=1\r\n";
  l.section = "[P\0Q]\r\nUser01_FormLenFront=4\r\n"s;
  l.index = "[SetName]\r\nSet0=P\0Q\r\n"s;
  l.nameRefused = true;
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "P\0Q"s, kFormLenFront), 4);
  };
  return l;
}

IniLayout invalidShiftJis() {
  IniLayout l;
  l.profile = "P";
  // A lead byte swallows the ']' after it, so "[\x81]" is no header.
  l.before = "[\x81]\r\nk=\xFF\xFE\r\n[X\xA0\xFD]\r\n\x82=\x81\r\n";
  l.section =
      "[P]\r\nUser1=\x82\r\nUser2=\x81\x7F\r\nUser01_FormLenFront=4\x82\r\n\x82\x9F\x82=bad\r\n"
      "[Tail\x81]\r\nk=1\r\n";
  l.after = "[Z]\r\nz=\x81\r\n\x81";
  l.index = "[SetName]\r\nSet0=P\r\nSet1=\xFF\r\n";
  l.keptInSection = {"\r\n\x82\x9F\x82=bad\r\n[Tail\x81]\r\nk=1\r\n"};
  l.loadedValuesUnwritable = true;  // User1 reads as U+FFFD
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "P", kFormLenFront), 4);
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    EXPECT_EQ(slots[1].name, "\xEF\xBF\xBD");  // U+FFFD
  };
  return l;
}

IniLayout undecodableProfileName() {
  IniLayout l;
  l.profile = "\xEF\xBF\xBD";  // what the index's "\xFF" reads as
  l.before = "[\xFE]\r\nSelectUser=1\r\n";
  l.section = "[\xFF]\r\nSelectUser=2\r\n";
  l.index = "[SetName]\r\nSet0=\xFF\r\n";
  l.nameRefused = true;
  return l;
}

IniLayout utf16OddLength() {
  IniLayout l;
  l.profile = "帳票";
  l.before = "\xFF\xFE" + utf16("[A]\r\nk=v\r\n");
  l.section = utf16("[帳票]\r\nUser01_FormLenFront=5\r\nCustom=keep\r\n");
  l.after = utf16("[Z]\r\nz=1\r\n") + "\x41";
  l.index = "[SetName]\r\nSet0=\x92\xa0\x95\x5b\r\n";
  l.keptInSection = {utf16("Custom=keep\r\n")};
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "帳票", kFormLenFront), 5);
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    EXPECT_EQ(slots[0].name, "帳票");
  };
  return l;
}

IniLayout utf16OddLengthWithoutFinalLineEnd() {
  IniLayout l;
  l.profile = "P";
  l.before = "\xFF\xFE";
  l.section = utf16("[P]\r\nSelectUser=3");
  l.after = std::string(1, '\0');
  l.index = "[SetName]\r\nSet0=P\r\n";
  l.check = [](const ProfileStore& store) {
    ProfileModel model;
    ASSERT_TRUE(store.loadSection(model, "P"));
    EXPECT_EQ(model.values.selectUser, 3);
  };
  return l;
}

IniLayout tenThousandCharacterKeys() {
  std::string kanji;
  for (int i = 0; i < 10000; ++i) kanji += "\x8A\xBF";
  IniLayout l;
  l.profile = "P";
  l.before = "[A]\r\n" + std::string(10000, 'K') + "=1\r\n" + kanji + "=2\r\n";
  l.section = "[P]\r\nUser01_FormLenFront" + std::string(10000, 'x') +
              "=7\r\nUser01_FormLenFront=6\r\n" + std::string(10000, 'k') + "=keep\r\n";
  l.after = "[Z]\r\n" + std::string(10000, 'K') + "=3\r\n";
  l.index = "[SetName]\r\nSet0=P\r\nSet1=" + std::string(10000, 'N') + "\r\n";
  l.keptInSection = {"\r\n" + std::string(10000, 'k') + "=keep\r\n"};
  l.check = [](const ProfileStore& store) {
    EXPECT_EQ(loadedPaper(store, "P", kFormLenFront), 6);
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    EXPECT_EQ(slots[1].name, std::string(60, 'N'));  // cut to the name field's size
    auto section = store.readSection("A");
    ASSERT_TRUE(section);
    EXPECT_EQ(section->at(0), std::string(10000, 'K') + "=1");
  };
  return l;
}

IniLayout sectionNamedLikeAKey() {
  IniLayout l;
  l.profile = "P";
  l.before = "[Other]\r\nx=1\r\n";
  l.section = "[P]\r\nUser01_FormLenFront=2\r\n";
  l.after =
      "[User01_FormLenFront=3]\r\nUser01_LinePitchFront=5\r\n[User01_FormLenFront]\r\nk=v\r\n";
  l.index = "[SetName]\r\nSet0=P\r\nSet1=User01_FormLenFront=3\r\n";
  l.check = [](const ProfileStore& store) {
    // The header ends the profile's section: the key below it is not the profile's.
    EXPECT_EQ(loadedPaper(store, "P", kFormLenFront), 2);
    EXPECT_EQ(loadedPaper(store, "P", kLinePitchFront),
              SettingProfile::defaults().paper[0].index[kLinePitchFront]);
    ProfileSlotTable slots;
    ASSERT_TRUE(store.readAllSlots(slots));
    ASSERT_EQ(slots[1].name, "User01_FormLenFront=3");
    ProfileModel model;
    ASSERT_TRUE(store.loadSection(model, slots[1].name));
    EXPECT_EQ(model.values.paper[0].index[kLinePitchFront], 5);
  };
  return l;
}

}  // namespace

std::span<const IniCase> hostileIniCases() {
  static const IniCase kCases[] = {
      {"TwentyMegabytes", twentyMegabytes},
      {"HundredThousandSections", hundredThousandSections},
      {"MegabyteLines", megabyteLines},
      {"NulBytes", nulBytes},
      {"NulInProfileName", nulInProfileName},
      {"InvalidShiftJis", invalidShiftJis},
      {"UndecodableProfileName", undecodableProfileName},
      {"Utf16OddLength", utf16OddLength},
      {"Utf16OddLengthWithoutFinalLineEnd", utf16OddLengthWithoutFinalLineEnd},
      {"TenThousandCharacterKeys", tenThousandCharacterKeys},
      {"SectionNamedLikeAKey", sectionNamedLikeAKey},
  };
  return kCases;
}

}  // namespace drovik::hostile
