#include "command/image_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "command/command_test_support.h"
#include "support/temp_dir.h"

namespace drovik {
namespace {

using namespace command_test;

// The listing line that names this setting ("ユーザー３ リアトラクタ 紙厚設定："), or "".
std::string lineOf(const std::string& listing, const std::string& name) {
  const std::size_t at = listing.find(name + "：");
  if (at == std::string::npos) return {};
  const std::size_t start = listing.rfind('\n', at) + 1;
  return listing.substr(start, listing.find('\n', at) - start);
}

std::string treeName(int node) {
  const auto& nodes = cat::checkNodes();
  return nodes[nodes[node].parent].label + " " + nodes[node].label;
}

// Values that differ between users and from the defaults; margins that read back alike.
SettingProfile variedProfile() {
  static const char* const kVariedMargins[] = {"8.5", "6.4", "0.0", "108.4", "12.7", "-25.4", "254.0"};
  SettingProfile p = SettingProfile::defaults();
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i)
      if (const auto* list = cat::paperItems()[i].values)
        p.paper[u].index[i] = (u + i) % list->size();
    for (int i = 0; i < cat::kCommonItemCount; ++i)
      p.common[u].index[i] = (u + i + 1) % cat::commonItems()[i].values->size();
    for (int m = 0; m < cat::kMarginCount; ++m) p.paper[u].margin[m] = kVariedMargins[(u + m) % 7];
    p.userName[u] = "ｶﾅ" + std::to_string(u) + "x";
  }
  p.selectUser = 7;
  p.iface = {2, "45", 45, 1, 1, {}, {{{10, 0, 0, 1}, {255, 255, 0, 0}, {10, 0, 0, 254}}}, 1};
  for (int a = 0; a < 3; ++a)
    for (int o = 0; o < 4; ++o) p.iface.octetText[a][o] = std::to_string(p.iface.octet[a][o]);
  return p;
}

TEST(ImageDumpRoundTrip, GhjkNamesEveryItemWithItsValue) {
  const SettingProfile p = variedProfile();
  const CheckFlagSet all;
  const auto codes = ApplyValueCodes(p, all, CommandVariant::Ghjk);
  ASSERT_TRUE(codes.isOk());
  const ImageInspection dump =
      InspectCommandImage(BuildCommandImage(*codes, all, p.selectUser, CommandVariant::Ghjk).bytes);
  EXPECT_TRUE(dump.wellFormed) << dump.listing;
  const std::string& text = dump.listing;

  for (int u = 0; u < cat::kUserCount; ++u) {
    const std::string user = cat::userCaption(u) + " ";
    EXPECT_NE(lineOf(text, user + "ユーザー名").find(p.userName[u]), std::string::npos) << u;
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      const std::string line = lineOf(text, user + treeName(cat::paperItemNode(u, i)));
      EXPECT_NE(line.find(codes->texts.paper[u][i]), std::string::npos) << line;
    }
    for (int i = 0; i < cat::kCommonItemCount; ++i) {
      const std::string line = lineOf(text, user + treeName(cat::commonItemNode(u, i)));
      EXPECT_NE(line.find(codes->texts.common[u][i]), std::string::npos) << line;
    }
  }
  EXPECT_EQ(lineOf(text, "初期ユーザー選択"), "   11: 10 00 00 07  初期ユーザー選択：ユーザー８");
  for (int item : {cat::kIfSel, cat::kIfChgTime, cat::kParallel, cat::kDhcp, cat::kErrDisp}) {
    const std::string line = lineOf(text, std::string(cat::interfaceItems()[item].label));
    EXPECT_NE(line.find(codes->texts.iface[cat::interfaceKeyIndex(item, -1)]), std::string::npos)
        << line;
  }
  EXPECT_NE(text.find("ゲートウェイアドレス（第３・第４オクテット）：0.254\n"), std::string::npos);
}

TEST(ImageDumpRoundTrip, MNamesTheInitialUsersItemsInMWording) {
  SettingProfile p = variedProfile();
  p.selectUser = 3;
  const CheckFlagSet all;
  const auto codes = ApplyValueCodes(p, all, CommandVariant::M);
  ASSERT_TRUE(codes.isOk());
  const ImageInspection dump =
      InspectCommandImage(BuildCommandImage(*codes, all, p.selectUser, CommandVariant::M).bytes);
  EXPECT_TRUE(dump.wellFormed) << dump.listing;
  EXPECT_NE(dump.listing.find("形式：8630-M"), std::string::npos);

  int lines = 0;
  for (int i = 0; i < cat::kPaperItemCount; ++i) {
    const std::string line =
        lineOf(dump.listing, "初期ユーザー " + treeName(cat::paperItemNode(3, i)));
    if (codes->texts.paper[3][i].empty()) {
      EXPECT_EQ(line, "");
      continue;
    }
    EXPECT_NE(line.find(codes->texts.paper[3][i]), std::string::npos) << line;
    ++lines;
  }
  for (int i = 0; i < cat::kCommonItemCount; ++i) {
    if (codes->texts.common[3][i].empty()) continue;
    const std::string line =
        lineOf(dump.listing, "初期ユーザー " + treeName(cat::commonItemNode(3, i)));
    EXPECT_NE(line.find(codes->texts.common[3][i]), std::string::npos) << line;
    ++lines;
  }
  EXPECT_EQ(lines, 44);
}

TEST(ImageDumpWellFormed, MinimalImageHasNoProblem) {
  const ImageInspection dump =
      InspectCommandImage(hex("1B 7E 12 00 01 11 1B 7E 4B 00 04 FF FE 00 00"));
  EXPECT_TRUE(dump.wellFormed);
  EXPECT_EQ(dump.listing,
            "ファイルサイズ：15 バイト\n先頭コマンド：1B 7E 12 00 01 11\n設定コマンド：1B 7E 4B\n"
            "長さフィールド：4（00 04）\n形式：判別できません（設定レコードがありません）\n"
            "   11: FF FE 00 00  終端\n問題：なし\n");
}

Bytes exampleImage() {
  SettingProfile p = SettingProfile::defaults();
  p.iface.ifSel = 3;
  return buildImage(p, onlyIncluded({"User1NameChkFlag", "User1FTFormLenChkFlag", "IfSelChkFlag"}),
                    CommandVariant::Ghjk);
}

TEST(ImageDumpDamaged, EachFaultIsNamed) {
  const Bytes good = exampleImage();  // header, user 1, name, FormLenFront, end, IfSel, end
  ASSERT_TRUE(IsWellFormedCommandImage(good));
  auto changed = [&](auto change) {
    Bytes bytes = good;
    change(bytes);
    return bytes;
  };
  const std::pair<Bytes, const char*> cases[] = {
      {{}, "ファイルが空です。"},
      {hex("1B"), "ヘッダーが途中で切れています（ファイルは 1 バイト"},
      {hex("1B 7E 12 00 01 11 1B 7E 4B 00"), "ヘッダーが途中で切れています"},
      {changed([](Bytes& b) { b[2] = 0x13; }), "先頭コマンドが 1B 7E 12 00 01 11 ではありません"},
      {changed([](Bytes& b) { b[8] = 0x4C; }), "設定コマンドが 1B 7E 4B ではありません"},
      {changed([](Bytes& b) { b[10] += 4; }), "長さフィールド 40 によるとファイルは 51 バイト"},
      {changed([](Bytes& b) { b[39] = 0x7F; }), "不明な機能コード 7F"},
      {changed([](Bytes& b) { b[34] = 0x55; }), "値 55 は「用紙長さ」の値の表にありません"},
      {changed([](Bytes& b) { b.resize(b.size() - 4); }), "終端レコード FF FE 00 00 がありません"},
      {changed([](Bytes& b) { b.resize(b.size() - 6); }), "4 バイトのレコードが途中で切れています"},
      {changed([](Bytes& b) { b.resize(20); }), "16 バイトのレコードが途中で切れています"},
      {changed([](Bytes& b) {
         append(b, {0, 0});
       }),
       "終端の後に 2 バイトの余分なデータ"},
      {changed([](Bytes& b) { b.erase(b.begin() + 11, b.begin() + 15); }),
       "ユーザー選択レコード（10 FF 00 u）の外"},
      {changed([](Bytes& b) { b.erase(b.begin() + 35, b.begin() + 39); }),
       "ユーザー別設定の終了レコード（10 FF 00 FF）がありません"},
  };
  for (const auto& [bytes, problem] : cases) {
    const ImageInspection dump = InspectCommandImage(bytes);
    EXPECT_FALSE(dump.wellFormed) << problem;
    EXPECT_NE(dump.listing.find(problem), std::string::npos) << dump.listing;
  }
}

// Problems are listed by their place in the file, those of the file as a whole last, however
// the reading came upon them: the header's and the trailing bytes' (found while framing), the
// records' (while describing them) and the blocks left open (at the end).
TEST(ImageDumpDamaged, ProblemsAreListedInFileOrder) {
  Bytes trailing = exampleImage();
  trailing[10] += 4;                                             // the length field disagrees
  trailing[39] = 0x7F;                                           // an unknown record
  trailing.erase(trailing.begin() + 35, trailing.begin() + 39);  // the users' end record
  append(trailing, {0, 0});                                      // bytes after the terminator
  Bytes unterminated = trailing;
  unterminated.resize(unterminated.size() - 6);  // no terminator, nor what followed it
  const std::filesystem::path golden = std::filesystem::path(DROVIK_TEST_DATA_DIR) / "command";
  EXPECT_EQ(InspectCommandImage(trailing).listing,
            test::readFile(golden / "damaged_trailing_listing.txt"));
  EXPECT_EQ(InspectCommandImage(unterminated).listing,
            test::readFile(golden / "damaged_unterminated_listing.txt"));
}

TEST(ImageDumpDamaged, EveryCutOffPrefixIsNotWellFormed) {
  const Bytes good = buildImage(variedProfile(), CheckFlagSet{}, CommandVariant::Ghjk);
  for (std::size_t size = 0; size < good.size(); ++size)
    ASSERT_FALSE(IsWellFormedCommandImage(std::span(good).first(size))) << size;
}

TEST(ImageDumpDamaged, HugeOrRandomInputStaysInsideTheBuffer) {
  Bytes huge = hex("1B 7E 12 00 01 11 1B 7E 4B FF FF");
  huge.resize(8 << 20, 0x00);
  const ImageInspection dump = InspectCommandImage(huge);
  EXPECT_FALSE(dump.wellFormed);
  EXPECT_LT(dump.listing.size(), 1u << 20);
  EXPECT_NE(dump.listing.find("レコードが多すぎます"), std::string::npos);

  std::mt19937 random(2955);
  const Bytes good = exampleImage();
  for (int round = 0; round < 2000; ++round) {
    Bytes bytes = round % 2 ? good : Bytes(random() % 64);
    for (int flips = 0; flips < 3; ++flips)
      if (!bytes.empty()) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    (void)InspectCommandImage(bytes);
  }
}

}  // namespace
}  // namespace drovik
