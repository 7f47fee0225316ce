// "プリンタ情報取得" for real: the retrieval dialog fetches the printer's images and decodes
// them into the profile being edited.
#pragma once

#include "editor/printer_info_retrieval.h"

namespace drovik {

class ProfileStore;

class PrinterRetrieval final : public editor::PrinterInfoRetrieval {
 public:
  // The store remembers the address; its folder receives the script and the images.
  explicit PrinterRetrieval(const ProfileStore& store) : store_(store) {}
  bool retrieve(ProfileModel& model, QWidget* parent) override;
  void discardScript() override;

 private:
  const ProfileStore& store_;
};

}  // namespace drovik
