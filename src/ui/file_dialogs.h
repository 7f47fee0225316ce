// The file choosers of the program behind one replaceable object, so that tests pick the file
// by script and can check what the operator would have been offered.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace drovik::ui {

struct FileDialogRequest {
  QString title;
  QString nameFilter;     // one filter, e.g. "VAD Command Binary files (*.sib)"
  QString defaultSuffix;  // appended when the typed name has none, e.g. "sib"
  QString directory;      // empty: the chooser's own choice
  bool confirmOverwrite = true;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path, or nothing when the operator cancelled.
  virtual std::optional<QString> saveFileName(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
  virtual std::optional<QString> openFileName(QWidget* parent,
                                              const FileDialogRequest& request) = 0;
  // An existing folder; the request's filter and suffix do not apply.
  virtual std::optional<QString> existingDirectory(QWidget* parent,
                                                   const FileDialogRequest& request) = 0;
};

// The choosers in use: real file dialogs unless replaced.
FileDialogs& fileDialogs();
// Replaces the choosers (nullptr restores the real ones); the caller keeps ownership.
void setFileDialogs(FileDialogs* dialogs);

}  // namespace drovik::ui
