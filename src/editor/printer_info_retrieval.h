// What "プリンタ情報取得" runs: fetching a printer's settings into the profile. The settings
// dialog only knows this seam; the printer communication provides it.
#pragma once

class QWidget;

namespace drovik {

class ProfileModel;

namespace editor {

class PrinterInfoRetrieval {
 public:
  virtual ~PrinterInfoRetrieval() = default;
  // Runs the retrieval modally; true when the profile's record form now holds the printer's
  // values.
  virtual bool retrieve(ProfileModel& model, QWidget* parent) = 0;
  // Empties the FTP script that held the typed password; called after every retrieval.
  virtual void discardScript() = 0;
};

}  // namespace editor
}  // namespace drovik
