#include "model/profile.h"

#include <gtest/gtest.h>

using namespace drovik;

TEST(ProfileModel, DefaultsInBothForms) {
  ProfileModel m;
  EXPECT_EQ(m.values.userName[2], "U03");
  EXPECT_EQ(m.values.paper[4].index[0], 13);
  EXPECT_EQ(m.values.paper[4].margin[2], "6.4");
  EXPECT_EQ(m.text.paper[4][11], "8.5");
  EXPECT_EQ(m.text.paper[4][0], "13");
  EXPECT_EQ(m.values.common[9].index[23], 8);
  EXPECT_EQ(m.values.iface.ifChgTimeText, "30");
  EXPECT_EQ(m.text.iface[1], "30");
  EXPECT_EQ(m.values.iface.octetText[2][3], "0");
  EXPECT_EQ(m.flags.state[500], 1);
  EXPECT_EQ(m.flags.text[500], "1");
}

TEST(ProfileModel, SettersKeepFormsAndWriteFlagTogether) {
  ProfileModel m;
  m.setPaperIndex(2, 19, 7);
  EXPECT_EQ(m.values.paper[2].index[19], 7);
  EXPECT_EQ(m.text.paper[2][19], "7");
  EXPECT_TRUE(m.valueWrite.paper[2][19]);
  m.setMargin(1, 26, "");
  EXPECT_EQ(m.values.paper[1].margin[1], "8.5");  // empty margin falls back in record form only
  EXPECT_EQ(m.text.paper[1][26], "");
  m.setOctet(cat::kDefaultGateway, 3, 254);
  EXPECT_EQ(m.text.iface[15], "254");
  EXPECT_EQ(m.values.iface.octet[2][3], 254);
  EXPECT_TRUE(m.valueWrite.iface[cat::kDefaultGateway]);
  m.setInterfaceChoice(cat::kErrDisp, 1);
  EXPECT_EQ(m.text.iface[16], "1");
  EXPECT_EQ(m.values.iface.errDisp, 1);
}

TEST(ProfileModel, WriteFlagsMarkAndClear) {
  ProfileModel m;
  m.markAllForWriting();
  EXPECT_TRUE(m.valueWrite.common[9][28]);
  EXPECT_TRUE(m.flagWrite[762]);
  m.clearWriteFlags();
  EXPECT_FALSE(m.valueWrite.selectUser);
  EXPECT_FALSE(m.valueWrite.paper[0][0]);
  EXPECT_FALSE(m.flagWrite[0]);
}

TEST(ProfileModel, CheckFlagsOnlyChangedNodesAreFlagged) {
  ProfileModel m;
  m.refreshAndSnapshotCheckFlagTexts();
  m.flags.state[40] = 0;  // toggled off
  m.flags.state[41] = 0;  // toggled off and on again
  m.flags.state[41] = 1;
  m.recomputeCheckFlagTexts();
  EXPECT_EQ(m.flags.text[40], "0");
  EXPECT_TRUE(m.flagWrite[40]);
  EXPECT_FALSE(m.flagWrite[41]);
  int flagged = 0;
  for (bool f : m.flagWrite) flagged += f;
  EXPECT_EQ(flagged, 1);
}

TEST(ProfileModel, ResetRestoresValuesAndIncludesEveryNode) {
  ProfileModel m;
  m.setCommonIndex(0, 0, 2);
  m.setUserName(3, "ｱｲｳ");
  m.flags.state[100] = 0;
  m.resetToDefaults();
  EXPECT_EQ(m.values.common[0].index[0], 0);
  EXPECT_EQ(m.text.common[0][0], "0");
  EXPECT_EQ(m.values.userName[3], "U04");
  EXPECT_EQ(m.flags.state[100], 1);
}
