// "設定一覧": shows a settings list read-only.
#pragma once

#include <QDialog>
#include <memory>
#include <string>

namespace Ui {
class CDlgSetview;
}

namespace drovik {

class CDlgSetview : public QDialog {
  Q_OBJECT

 public:
  // The report as built (CR LF line ends, tab-aligned labels).
  explicit CDlgSetview(const std::string& report, QWidget* parent = nullptr);
  ~CDlgSetview() override;

 private:
  std::unique_ptr<Ui::CDlgSetview> ui_;
};

}  // namespace drovik
