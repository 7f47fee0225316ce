// What a mouse click on a check box of the settings tree does to the other boxes: ticking a
// node includes everything below it and the path above it; clearing a node excludes
// everything below it and every node above it that no longer includes anything.
#pragma once

#include <vector>

namespace drovik::editor {

// `ticked` holds one state per TreeSlot. Toggles `slot` with the propagation and returns the
// slots whose state changed, in no particular order.
std::vector<int> clickCheckBox(std::vector<char>& ticked, int slot);

}  // namespace drovik::editor
