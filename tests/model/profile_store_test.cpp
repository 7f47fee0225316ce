#include "model/profile_store.h"

#include <gtest/gtest.h>

#include "support/store_writes.h"
#include "support/temp_dir.h"

using namespace drovik;
using drovik::test::readFile;
using drovik::test::TempDir;
using drovik::test::writeFile;

namespace {

class ProfileStoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  ProfileStore store{StorePaths::inDirectory(dir.path())};
  ProfileModel model;

  std::string settings() const { return readFile(store.paths().settingsFile); }
  void writeSettings(const std::string& text) { writeFile(store.paths().settingsFile, text); }
  void writeIndex(const std::string& text) { writeFile(store.paths().indexFile, text); }

  // Registers `name` in slot 0 with every key written from the model.
  void registerFull(const std::string& name, const std::string& type = "8630-GHJK") {
    ASSERT_TRUE(test::writeIndexEntry(store, 0, name, type));
    model.refreshAndSnapshotCheckFlagTexts();
    model.markAllForWriting();
    ASSERT_TRUE(test::saveSection(store, model, name));
    model.clearWriteFlags();
  }

  std::vector<std::string> keysOf(const std::string& section) {
    auto lines = store.readSection(section);
    EXPECT_TRUE(lines);
    std::vector<std::string> keys;
    for (const auto& line : *lines) keys.push_back(line.substr(0, line.find('=')));
    return keys;
  }
};

}  // namespace

TEST_F(ProfileStoreTest, NoFilesMeansNoProfilesAndDefaults) {
  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  for (const auto& slot : slots) EXPECT_FALSE(slot.registered());
  ASSERT_TRUE(store.loadSection(model, "absent"));
  EXPECT_EQ(model.values.paper[0].index[0], 13);
  EXPECT_EQ(model.flags.state[762], 1);
  EXPECT_FALSE(std::filesystem::exists(store.paths().settingsFile));
}

TEST_F(ProfileStoreTest, FullSaveWritesEveryKeyInFirstWrittenOrder) {
  registerFull("帳票Ａ");
  const auto keys = keysOf("帳票Ａ");
  ASSERT_EQ(keys.size(), 1461u);
  EXPECT_EQ(keys[0], "UserSettingChkFlag");
  EXPECT_EQ(keys[2], "UserNameSettingChkFlag");
  EXPECT_EQ(keys[3], "User1NameChkFlag");
  EXPECT_EQ(keys[12], "User10NameChkFlag");
  EXPECT_EQ(keys[13], "User1ChkFlag");
  EXPECT_EQ(keys[14], "User1FrontTractorChkFlag");
  EXPECT_EQ(keys[86], "User1TofFfChkFlag");
  EXPECT_EQ(keys[87], "User2ChkFlag");
  EXPECT_EQ(keys[752], "User10TofFfChkFlag");
  EXPECT_EQ(keys[753], "InterfaceSettingChkFlag");
  EXPECT_EQ(keys[763], "SelectUser");
  EXPECT_EQ(keys[764], "User1");
  EXPECT_EQ(keys[774], "User01_FormLenFront");
  EXPECT_EQ(keys[774 + 38], "User01_Emul");
  EXPECT_EQ(keys[774 + 67], "User02_FormLenFront");
  EXPECT_EQ(keys[1444], "IfSel");
  EXPECT_EQ(keys[1448], "IPAddress1");
  EXPECT_EQ(keys[1449], "SubnetMask1");
  EXPECT_EQ(keys[1460], "ErrDisp");
  // The index file is the caller's business.
  auto name = store.indexName(0);
  ASSERT_TRUE(name);
  EXPECT_EQ(*name, "帳票Ａ");
  // Shift-JIS file with CRLF, the section header encoded.
  const std::string bytes = settings();
  EXPECT_EQ(bytes.rfind("[\x92\xa0\x95\x5b\x82\x60]\r\nUserSettingChkFlag=1\r\n", 0), 0u);
}

TEST_F(ProfileStoreTest, SaveRoundTripsEveryValue) {
  model.setSelectUser(4);
  model.setUserName(4, "ｹｲﾘ");
  model.setPaperIndex(9, 28, 4);
  model.setMargin(2, 36, "-3");
  model.setCommonIndex(7, 23, 14);
  model.setIfChgTime(255);
  model.setOctet(cat::kIpAddress, 0, 192);
  model.flags.state[300] = 0;
  registerFull("P");

  ProfileModel loaded;
  ASSERT_TRUE(store.loadSection(loaded, "P"));
  EXPECT_EQ(loaded.values.selectUser, 4);
  EXPECT_EQ(loaded.values.userName[4], "ｹｲﾘ");
  EXPECT_EQ(loaded.values.paper[9].index[28], 4);
  EXPECT_EQ(loaded.values.paper[2].margin[2], "-3");
  EXPECT_EQ(loaded.values.common[7].index[23], 14);
  EXPECT_EQ(loaded.values.iface.ifChgTime, 255);
  EXPECT_EQ(loaded.values.iface.octet[0][0], 192);
  EXPECT_EQ(loaded.flags.state[300], 0);
  EXPECT_EQ(loaded.flags.state[301], 1);
  EXPECT_EQ(loaded.text.paper, model.text.paper);
  EXPECT_EQ(loaded.text.common, model.text.common);
  EXPECT_EQ(loaded.text.iface, model.text.iface);
}

TEST_F(ProfileStoreTest, MissingAndMalformedValuesReadAsDefaultsOrLeadingDigits) {
  writeSettings(
      "[P]\r\nUser01_FormLenFront=13abc\r\nUser01_LinePitchFront=abc\r\n"
      "User01_TopMCutUpper=\r\nIfChgTime=\r\nIPAddress1=10\r\nUser03_FormLenFront=99\r\n");
  ASSERT_TRUE(store.loadSection(model, "p"));  // section names match without case
  EXPECT_EQ(model.values.paper[0].index[0], 13);
  EXPECT_EQ(model.values.paper[0].index[1], 0);
  EXPECT_EQ(model.values.paper[0].index[19], 1);  // User01_AgaRear absent
  EXPECT_EQ(model.text.paper[0][37], "6.4");      // TopMCutLower absent
  EXPECT_EQ(model.text.paper[0][36], "");         // present but empty: text stays empty
  EXPECT_EQ(model.values.paper[0].margin[2], "6.4");
  EXPECT_EQ(model.values.iface.ifChgTimeText, "30");
  EXPECT_EQ(model.values.iface.ifChgTime, 30);
  EXPECT_EQ(model.values.iface.octet[0][0], 10);
  EXPECT_EQ(model.values.paper[2].index[0], 99);  // out of table: loaded unchanged
}

TEST_F(ProfileStoreTest, SlotsShowInitialUserAndItsName) {
  writeIndex(
      "[SetName]\r\nSet0=A\r\nSet1=B\r\nSet2=C\r\n[MTypeName]\r\nMType0=8630-GHJK\r\n"
      "MType1=8630-M\r\nMType2=8630-GHJK\r\n");
  writeSettings(
      "[A]\r\nSelectUser=2\r\nUser3=\xb1\xb2\xb3\r\n"
      "[B]\r\nSelectUser=2\r\nUser3=X\r\n"
      "[C]\r\nSelectUser=57\r\n");
  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  EXPECT_EQ(slots[0].initialUserText, "ユーザー３");
  EXPECT_EQ(slots[0].userName, "ｱｲｳ");
  EXPECT_EQ(slots[0].modelType, "8630-GHJK");
  EXPECT_EQ(slots[1].initialUserText, "");
  EXPECT_EQ(slots[1].userName, "");
  EXPECT_EQ(slots[1].modelType, "8630-M");
  EXPECT_EQ(slots[2].initialUserText, "");
  EXPECT_EQ(slots[2].userName, "");
  EXPECT_FALSE(slots[3].registered());
}

TEST_F(ProfileStoreTest, SaveWithClearFlagsRewritesOnlyInterfaceKeys) {
  registerFull("P");
  const std::string before = settings();
  model.setPaperIndex(0, 0, 2);  // changed in memory, but flags cleared below
  model.values.iface.ifSel = 3;
  model.text.iface[0] = "3";
  model.clearWriteFlags();
  ASSERT_TRUE(test::saveSection(store, model, "P"));
  std::string expected = before;
  expected.replace(expected.find("IfSel=0"), 7, "IfSel=3");
  EXPECT_EQ(settings(), expected);
}

TEST_F(ProfileStoreTest, OverwriteKeepsForeignKeysAndOtherSections) {
  writeSettings("[Other]\r\nX=1\r\n[P]\r\nCustom=keep\r\nUser01_FormLenFront=3\r\n");
  registerFull("P");
  auto lines = store.readSection("P");
  ASSERT_TRUE(lines);
  EXPECT_EQ(lines->front(), "Custom=keep");
  EXPECT_EQ((*lines)[1], "User01_FormLenFront=13");  // replaced in place
  EXPECT_EQ(lines->size(), 1462u);
  EXPECT_EQ(settings().rfind("[Other]\r\nX=1\r\n[P]\r\n", 0), 0u);
}

TEST_F(ProfileStoreTest, NameOutsideTheCodePageIsRefusedAndNothingIsWritten) {
  registerFull("P");
  const std::string before = settings();
  model.markAllForWriting();
  Status s = test::saveSection(store, model, "😀");
  EXPECT_FALSE(s);
  EXPECT_EQ(settings(), before);
  EXPECT_FALSE(test::writeIndexEntry(store, 1, "😀", "8630-GHJK"));
}

TEST_F(ProfileStoreTest, DeleteSectionAndIndexEntries) {
  registerFull("P");
  ASSERT_TRUE(test::writeIndexEntry(store, 1, "Q", "8630-M"));
  ASSERT_TRUE(test::deleteIndexEntry(store, 0));
  ASSERT_TRUE(test::deleteSection(store, "P"));
  ProfileSlotTable slots;
  ASSERT_TRUE(store.readAllSlots(slots));
  EXPECT_FALSE(slots[0].registered());
  EXPECT_EQ(slots[1].name, "Q");
  EXPECT_EQ(settings().find("[P]"), std::string::npos);
}

TEST_F(ProfileStoreTest, RememberedPrinterAndAddresses) {
  auto empty = store.printerDriverName();
  ASSERT_TRUE(empty);
  EXPECT_EQ(*empty, "");
  ASSERT_TRUE(store.setPrinterDriverName("LP-8630"));
  ASSERT_TRUE(store.setSendAddress({192, 168, 0, 10}));
  ASSERT_TRUE(store.setRetrievalAddress({10, 0, 0, 1}));
  auto send = store.sendAddress();
  ASSERT_TRUE(send);
  EXPECT_EQ(*send, (Ipv4Octets{192, 168, 0, 10}));
  const std::string index = readFile(store.paths().indexFile);
  EXPECT_NE(index.find("[IP Address]\r\nIP Address 1st 8bits=192\r\nIP Address 2nd 8bits=168\r\n"
                       "IP Address 3rd 8bits=0\r\nIP Address 4th 8bits=10\r\n"),
            std::string::npos);
  EXPECT_NE(index.find("[FTP IP]\r\nFTP IP 1st 8bits=10\r\n"), std::string::npos);
  EXPECT_NE(index.find("[PrinterDriver]\r\nPrinterDriverName=LP-8630\r\n"), std::string::npos);

  const StoreEdit files(ini::IniDocument::parse(index), ini::IniDocument());
  EXPECT_EQ(files.printerDriverName(), "LP-8630");
  EXPECT_EQ(files.sendAddress(), (Ipv4Octets{192, 168, 0, 10}));
  EXPECT_EQ(files.retrievalAddress(), (Ipv4Octets{10, 0, 0, 1}));
}

TEST_F(ProfileStoreTest, DamagedFilesNeverCrashTheLoad) {
  std::string garbage;
  for (int i = 0; i < 5000; ++i) garbage += static_cast<char>((i * 7919) % 256);
  writeSettings("junk before any section\r\n=no key\r\n[P]\r\nno equals here\r\n" + garbage +
                "\r\n[P]\r\nUser01_FormLenFront=2\r\n");
  ASSERT_TRUE(store.loadSection(model, "P"));
  EXPECT_EQ(model.values.paper[0].index[0], 13);  // the first [P] wins and lacks the key
}

TEST_F(ProfileStoreTest, DirectoryInPlaceOfTheFileIsAnError) {
  std::filesystem::create_directory(store.paths().settingsFile);
  EXPECT_FALSE(store.loadSection(model, "P"));
  EXPECT_FALSE(test::saveSection(store, model, "P"));
}
