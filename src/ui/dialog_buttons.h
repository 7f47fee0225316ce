// Standard dialog buttons with the program's captions ("OK", "キャンセル") in the order the
// desktop expects.
#pragma once

class QDialogButtonBox;

namespace drovik::ui {

// Captions, object names ("okButton", "cancelButton") and accessible names of the box's OK
// and Cancel buttons.
void captionDialogButtons(QDialogButtonBox& box);

}  // namespace drovik::ui
