// "設定比較": two registered profiles side by side, one table row per setting in which they
// differ, refreshed whenever either choice changes.
#pragma once

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

namespace Ui {
class CDlgCompare;
}

namespace drovik {

class ProfileService;

class CDlgCompare : public QDialog {
  Q_OBJECT

 public:
  // Offers `names` (the registered profiles, in list order) on both sides; the first side
  // starts on `first` when it is one of them, the second on the next profile after it.
  CDlgCompare(const ProfileService& service, std::vector<std::string> names,
              const std::string& first = {}, QWidget* parent = nullptr);
  ~CDlgCompare() override;

  // Picks the two profiles by their place in `names` and shows their differences.
  void choose(int first, int second);
  // Compares the current choices again, from the files as they are now.
  void refresh();

  int differenceCount() const;
  QString summary() const;

 private:
  void showFailure(const QString& message);

  const ProfileService& service_;
  std::vector<std::string> names_;
  std::unique_ptr<Ui::CDlgCompare> ui_;
};

}  // namespace drovik
