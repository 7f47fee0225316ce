#include "model/catalogue.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "support/temp_dir.h"

namespace cat = drovik::catalogue;

TEST(Catalogue, KeysAreComposedFromUserPrefixAndItemName) {
  EXPECT_EQ(cat::paperKey(9, 0), "User10_FormLenFront");
  EXPECT_EQ(cat::paperKey(9, 37), "User10_TopMCutLower");
  EXPECT_EQ(cat::commonKey(0, 28), "User01_TofFf");
  EXPECT_EQ(cat::commonKey(2, 23), "User03_InternationalChar");
  EXPECT_EQ(cat::userNameKey(9), "User10");
  EXPECT_EQ(cat::defaultUserName(0), "U01");
  EXPECT_EQ(cat::defaultUserName(9), "U10");
}

TEST(Catalogue, CheckNodesFollowTheFixedOrder) {
  const auto& nodes = cat::checkNodes();
  EXPECT_EQ(nodes[0].key, "UserSettingChkFlag");
  EXPECT_EQ(nodes[3].key, "User1NameChkFlag");
  EXPECT_EQ(nodes[12].key, "User10NameChkFlag");
  EXPECT_EQ(nodes[13].key, "User1ChkFlag");
  EXPECT_EQ(nodes[23].key, "User1FrontTractorChkFlag");
  EXPECT_EQ(nodes[14].key, "User2ChkFlag");
  EXPECT_EQ(nodes[752].key, "User10TofFfChkFlag");
  EXPECT_EQ(nodes[753].key, "InterfaceSettingChkFlag");
  EXPECT_EQ(nodes[762].key, "ErrDispChkFlag");
  EXPECT_EQ(nodes[cat::paperItemNode(9, 26)].key, "User10RTTopMarginChkFlag");
  EXPECT_EQ(nodes[cat::paperItemNode(0, 5)].key, "User1FTSkpPrtChkFlag");
  EXPECT_EQ(nodes[cat::paperItemNode(0, 37)].key, "User1CTLowerTopMarginChkFlag");
  EXPECT_EQ(nodes[cat::commonItemNode(0, 0)].key, "User1EmulationChkFlag");
  EXPECT_EQ(nodes[cat::commonItemNode(4, 14)].key, "User5ImgWrapChkFlag");
  EXPECT_EQ(nodes[cat::groups()[cat::k8630Group].nodeOf(0)].key, "User1_8630SettingChkFlag");
  EXPECT_EQ(nodes[cat::interfaceItemNode(cat::kDhcp)].key, "DhcpChkFlag");
  EXPECT_EQ(cat::checkNodeIndex("user10toffFchkflag"), -1);  // lookups here are exact
  EXPECT_EQ(cat::checkNodeIndex("User10TofFfChkFlag"), 752);
}

TEST(Catalogue, TreeParentsMatchTheSettingsTree) {
  const auto& nodes = cat::checkNodes();
  EXPECT_EQ(nodes[13].parent, 0);
  EXPECT_EQ(nodes[13].label, "ユーザー１");
  EXPECT_EQ(nodes[12].label, "ユーザー１０の名前");
  EXPECT_EQ(nodes[12].parent, 2);
  const int escp = cat::groups()[cat::kEscpGroup].nodeOf(3);
  EXPECT_EQ(nodes[escp].key, "User4EscpSettingChkFlag");
  EXPECT_EQ(nodes[escp].parent, cat::groups()[cat::kCommonGroup].nodeOf(3));
  EXPECT_EQ(nodes[cat::commonItemNode(3, 28)].parent, escp);
  EXPECT_EQ(nodes[cat::commonItemNode(3, 28)].label, "ＴＯＦ改ページ");
  EXPECT_EQ(nodes[762].parent, 757);
  EXPECT_EQ(nodes[756].parent, 753);
}

TEST(Catalogue, EveryItemMapsToExactlyOneNodeAndEveryKeyIsUnique) {
  std::set<std::string> keys;
  std::set<int> itemNodes;
  for (const auto& node : cat::checkNodes()) keys.insert(node.key);
  for (int u = 0; u < cat::kUserCount; ++u) {
    for (int i = 0; i < cat::kPaperItemCount; ++i) {
      keys.insert(cat::paperKey(u, i));
      const auto& node = cat::checkNodes()[cat::paperItemNode(u, i)];
      EXPECT_EQ(node.ref, cat::NodeRef::Paper);
      EXPECT_EQ(node.item, i);
      EXPECT_EQ(node.user, u);
      EXPECT_TRUE(itemNodes.insert(cat::paperItemNode(u, i)).second);
    }
    for (int i = 0; i < cat::kCommonItemCount; ++i) {
      keys.insert(cat::commonKey(u, i));
      EXPECT_EQ(cat::checkNodes()[cat::commonItemNode(u, i)].item, i);
      EXPECT_TRUE(itemNodes.insert(cat::commonItemNode(u, i)).second);
    }
    keys.insert(cat::userNameKey(u));
  }
  for (const auto& key : cat::interfaceKeys()) keys.insert(std::string(key.key));
  keys.insert(std::string(cat::kSelectUserKey));
  EXPECT_EQ(keys.size(), static_cast<std::size_t>(cat::kProfileKeyCount));
}

TEST(Catalogue, ValueListsAndDefaults) {
  const auto paper = cat::paperItems();
  EXPECT_EQ(paper[13].values->size(), 3);  // front roller
  EXPECT_EQ(paper[28].values->size(), 5);  // rear roller
  EXPECT_EQ(paper[0].values->entries[13], "１１インチ");
  EXPECT_EQ(paper[0].defaultIndex, 13);
  EXPECT_EQ(paper[19].name, "AgaRear");
  EXPECT_EQ(paper[19].defaultIndex, 1);
  EXPECT_EQ(cat::marginDefault(3), "6.4");
  EXPECT_EQ(paper[36].kind, cat::ValueKind::Margin);
  const auto common = cat::commonItems();
  EXPECT_EQ(common[23].values->entries[common[23].defaultIndex], "日本");
  EXPECT_EQ(common[20].values->entries[common[20].defaultIndex], "明朝１２（コマンド有効）");
  EXPECT_EQ(cat::selectUserList().entries[9], "ユーザー１０");
  for (int i = 0; i < cat::kPaperItemCount; ++i) {
    const auto& item = paper[i];
    if (item.kind == cat::ValueKind::Choice)
      EXPECT_LT(item.defaultIndex, item.values->size()) << item.name;
    else
      EXPECT_GE(cat::marginSlotOfPaperItem(i), 0) << item.name;
  }
}

TEST(Catalogue, StorageOrderSwapsTwoPairs) {
  const auto& order = cat::commonStorageOrder();
  const auto common = cat::commonItems();
  EXPECT_EQ(common[order[2]].name, "CharMode");
  EXPECT_EQ(common[order[3]].name, "FormMode");
  EXPECT_EQ(common[order[21]].name, "CharCode");
  EXPECT_EQ(common[order[22]].name, "CharPitch");
  EXPECT_EQ(common[order[28]].name, "TofFf");
}

TEST(Catalogue, InterfaceKeysInSaveOrder) {
  const auto keys = cat::interfaceKeys();
  ASSERT_EQ(keys.size(), 17u);
  EXPECT_EQ(keys[4].key, "IPAddress1");
  EXPECT_EQ(keys[5].key, "SubnetMask1");
  EXPECT_EQ(keys[15].key, "DefaultGateway4");
  EXPECT_EQ(keys[16].key, "ErrDisp");
  EXPECT_EQ(cat::interfaceKeyIndex(cat::kSubnetMask, 2), 11);
  EXPECT_EQ(cat::interfaceKeyIndex(cat::kErrDisp, -1), 16);
}

// The tree as stored files know it: key, parent and label of every node, in node order.
TEST(Catalogue, CheckNodesMatchTheGoldenTree) {
  std::istringstream golden(drovik::test::readFile(std::filesystem::path(DROVIK_TEST_DATA_DIR) /
                                                   "catalogue" / "check_nodes.tsv"));
  std::string line;
  int n = 0;
  for (; std::getline(golden, line); ++n) {
    ASSERT_LT(n, cat::kCheckNodeCount);
    const auto& node = cat::checkNodes()[n];
    EXPECT_EQ(line, std::to_string(n) + "\t" + node.key + "\t" + std::to_string(node.parent) +
                        "\t" + node.label);
  }
  EXPECT_EQ(n, cat::kCheckNodeCount);
}

TEST(Catalogue, GroupsCoverEveryItemOnceUnderTheirOwnNode) {
  std::set<std::pair<int, int>> seen;
  for (int g = 0; g < cat::kGroupCount; ++g) {
    const cat::Group& group = cat::groups()[g];
    for (int user : {0, 9}) {
      for (int k = 0; k < group.count; ++k) {
        const cat::ItemRef ref = group.ref(k);
        EXPECT_EQ(cat::groupOf(ref), g);
        EXPECT_EQ(&group.items()[k], &cat::item(ref));
        const auto& node = cat::checkNodes()[group.itemNode(user, k)];
        EXPECT_EQ(node.parent, group.nodeOf(user));
        EXPECT_EQ(node.item, ref.index);
        EXPECT_EQ(node.label, cat::item(ref).label);
        EXPECT_EQ(cat::findItem(cat::item(ref).name), ref);
        seen.insert({static_cast<int>(ref.scope), ref.index});
      }
    }
  }
  EXPECT_EQ(seen.size(), static_cast<std::size_t>(cat::kPaperItemCount + cat::kCommonItemCount +
                                                  cat::kInterfaceItemCount));
  EXPECT_FALSE(cat::findItem("TopMargin").has_value());
  EXPECT_EQ(cat::groups()[cat::kInterfaceGroup].heading(), "【インターフェース設定】");
  EXPECT_EQ(cat::groups()[cat::kCutGroup].heading(), "単票");
}

TEST(Catalogue, LabelsForMessagesPagesAndTheList) {
  const auto jis90 = *cat::findItem("Jis90");
  EXPECT_EQ(cat::item(jis90).label, "９０年改訂");
  EXPECT_EQ(cat::item(jis90).pageCaption(), "９０年改定");
  EXPECT_EQ(cat::reportLabel(jis90), "　９０年改定\t\t");
  EXPECT_EQ(cat::groupAndLabel(*cat::findItem("TopMCutLower"), "の"), "単票の↓送りトップマージン");
  EXPECT_EQ(cat::groupAndLabel(*cat::findItem("AgaRear"), ""), "リアトラクタ紙厚設定");
}
