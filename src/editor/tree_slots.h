// The settings tree in insertion order. A node's TreeSlot is its position in that order
// (0..762); each slot stands for one include-flag node of the catalogue and belongs to one
// page of the settings dialog, which it scrolls to the frame of its group.
#pragma once

#include <span>

#include "model/catalogue.h"

namespace drovik::editor {

inline constexpr int kSlotCount = catalogue::kCheckNodeCount;
inline constexpr int kFirstUserSlot = 13;
inline constexpr int kUserBlockSize = 74;
inline constexpr int kFirstInterfaceSlot = kFirstUserSlot + catalogue::kUserCount * kUserBlockSize;

enum class PageKind { UserName, User, Interface };

// The page a slot shows, the user of a user page and the page pixel its group starts at.
struct SlotPage {
  PageKind kind;
  int user;    // 0..9 for user pages, -1 otherwise
  int offset;  // 0 for the user-name and interface pages

  friend bool operator==(const SlotPage&, const SlotPage&) = default;
};

// Page pixel at which the frame of each per-user group starts on a user page (GroupId order).
inline constexpr int kGroupPageOffsets[catalogue::kUserGroupCount] = {0,    445,  880,
                                                                      1135, 1545, 1790};
inline constexpr int kUserPageScrollMax = kGroupPageOffsets[catalogue::kEscpGroup];

int nodeOfSlot(int slot);
int slotOfNode(int node);
int parentSlot(int slot);  // -1 for the two top-level nodes
std::span<const int> childSlots(int slot);
SlotPage pageOfSlot(int slot);

}  // namespace drovik::editor
