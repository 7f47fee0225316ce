#include "editor/check_propagation.h"

#include "editor/tree_slots.h"

namespace drovik::editor {
namespace {

void setState(std::vector<char>& ticked, int slot, char state, std::vector<int>& changed) {
  if (ticked[slot] == state) return;
  ticked[slot] = state;
  changed.push_back(slot);
}

void setSubtree(std::vector<char>& ticked, int slot, char state, std::vector<int>& changed) {
  for (int child : childSlots(slot)) {
    setState(ticked, child, state, changed);
    setSubtree(ticked, child, state, changed);
  }
}

bool anyTickedBelow(const std::vector<char>& ticked, int slot) {
  for (int child : childSlots(slot))
    if (ticked[child] || anyTickedBelow(ticked, child)) return true;
  return false;
}

}  // namespace

std::vector<int> clickCheckBox(std::vector<char>& ticked, int slot) {
  std::vector<int> changed;
  const char state = ticked[slot] ? 0 : 1;
  setState(ticked, slot, state, changed);
  setSubtree(ticked, slot, state, changed);
  for (int up = parentSlot(slot); up >= 0; up = parentSlot(up)) {
    // A cleared box leaves an ancestor ticked while anything else below it stays included.
    if (!state && anyTickedBelow(ticked, up)) break;
    setState(ticked, up, state, changed);
  }
  return changed;
}

}  // namespace drovik::editor
