#include "ui/file_dialogs.h"

#include <QFileDialog>

namespace drovik::ui {

namespace {

std::optional<QString> runFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode, QFileDialog::FileMode files) {
  QFileDialog dialog(parent, request.title, request.directory, request.nameFilter);
  dialog.setObjectName("fileDialog");
  dialog.setAcceptMode(mode);
  dialog.setFileMode(files);
  if (files == QFileDialog::Directory) dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().constFirst();
}

class QtFileDialogs final : public FileDialogs {
 public:
  std::optional<QString> saveFileName(QWidget* parent, const FileDialogRequest& request) override {
    return runFileDialog(parent, request, QFileDialog::AcceptSave, QFileDialog::AnyFile);
  }
  std::optional<QString> openFileName(QWidget* parent, const FileDialogRequest& request) override {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::ExistingFile);
  }
  std::optional<QString> existingDirectory(QWidget* parent,
                                           const FileDialogRequest& request) override {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen, QFileDialog::Directory);
  }
};

FileDialogs* replacementDialogs = nullptr;

}  // namespace

FileDialogs& fileDialogs() {
  static QtFileDialogs real;
  return replacementDialogs ? *replacementDialogs : real;
}

void setFileDialogs(FileDialogs* dialogs) { replacementDialogs = dialogs; }

}  // namespace drovik::ui
