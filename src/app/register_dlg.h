// "新規登録": asks for the name of a profile to register (or of a migration's target).
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CDlgRegister;
}

namespace drovik {

class CDlgRegister : public QDialog {
  Q_OBJECT

 public:
  explicit CDlgRegister(QWidget* parent = nullptr);
  ~CDlgRegister() override;

  // The typed name (UTF-8), as checked by OK.
  std::string profileName() const;

  // OK: closes only for a name the profile files can hold; otherwise says why and stays open.
  void accept() override;

 private:
  std::unique_ptr<Ui::CDlgRegister> ui_;
};

}  // namespace drovik
