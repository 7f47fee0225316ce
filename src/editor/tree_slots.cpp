#include "editor/tree_slots.h"

#include <array>
#include <vector>

namespace drovik::editor {
namespace {

namespace cat = catalogue;

struct SlotTable {
  std::array<int, kSlotCount> node{};
  std::array<int, kSlotCount> slotOf{};
  std::array<int, kSlotCount> parent{};
  std::array<std::vector<int>, kSlotCount> children;
  std::array<SlotPage, kSlotCount> page{};
};

// Walks the catalogue's groups in the order the tree inserts them: the profile-wide user
// nodes, then each user's node followed by that user's groups and their items, then the
// interface groups. The parents come from the catalogue's nodes.
SlotTable buildTable() {
  SlotTable t;
  int slot = 0;
  auto add = [&](int node, SlotPage page) {
    t.node[slot] = node;
    t.slotOf[node] = slot;
    t.page[slot] = page;
    ++slot;
  };
  const SlotPage namePage{PageKind::UserName, -1, 0};
  add(cat::kUserSettingNode, namePage);
  add(cat::kSelectUserNode, namePage);
  add(cat::kUserNameSettingNode, namePage);
  for (int u = 0; u < cat::kUserCount; ++u) add(cat::checkNode(cat::kNameBlock, u), namePage);
  for (int u = 0; u < cat::kUserCount; ++u) {
    add(cat::checkNode(cat::kUserBlock, u), {PageKind::User, u, 0});
    for (int g = 0; g < cat::kUserGroupCount; ++g) {
      const cat::Group& group = cat::groups()[g];
      const SlotPage page{PageKind::User, u, kGroupPageOffsets[g]};
      add(group.nodeOf(u), page);
      for (int k = 0; k < group.count; ++k) add(group.itemNode(u, k), page);
    }
  }
  const SlotPage interfacePage{PageKind::Interface, -1, 0};
  for (int g = cat::kUserGroupCount; g < cat::kGroupCount; ++g) {
    const cat::Group& group = cat::groups()[g];
    add(group.node, interfacePage);
    for (int k = 0; k < group.count; ++k) add(group.itemNode(-1, k), interfacePage);
  }
  const auto& nodes = cat::checkNodes();
  for (int s = 0; s < kSlotCount; ++s) {
    const int parentNode = nodes[t.node[s]].parent;
    t.parent[s] = parentNode < 0 ? -1 : t.slotOf[parentNode];
    if (t.parent[s] >= 0) t.children[t.parent[s]].push_back(s);
  }
  return t;
}

const SlotTable& table() {
  static const SlotTable t = buildTable();
  return t;
}

}  // namespace

int nodeOfSlot(int slot) { return table().node[slot]; }
int slotOfNode(int node) { return table().slotOf[node]; }
int parentSlot(int slot) { return table().parent[slot]; }
std::span<const int> childSlots(int slot) { return table().children[slot]; }
SlotPage pageOfSlot(int slot) { return table().page[slot]; }

}  // namespace drovik::editor
