// Screen readers name a control by its accessible name; captions already say what each
// control is, so controls without a name of their own take their caption.
#pragma once

class QWidget;

namespace drovik::ui {

// Buttons and group boxes take their caption (without mnemonic marks), inputs the caption of
// the label that is their buddy. Names set explicitly are kept.
void nameControlsAfterCaptions(QWidget& root);

}  // namespace drovik::ui
