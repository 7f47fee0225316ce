// The settings editor the main window opens: the settings dialog, with the printer retrieval
// when one is available.
#pragma once

#include "app/operation_hooks.h"

namespace drovik {

namespace editor {
class PrinterInfoRetrieval;
}

class SettingsEditorDialog final : public SettingsEditor {
 public:
  explicit SettingsEditorDialog(editor::PrinterInfoRetrieval* retrieval = nullptr)
      : retrieval_(retrieval) {}
  bool editSettings(ProfileModel& model, QWidget* parent, const Save& save) override;

 private:
  editor::PrinterInfoRetrieval* retrieval_;
};

}  // namespace drovik
