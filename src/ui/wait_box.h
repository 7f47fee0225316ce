// Waiting for work on a worker thread without freezing the windows: the event loop keeps
// running (the operator's input waits), and a wait that outlasts a blink stands behind a box
// that says what is awaited. The box runs through the dialog runner, so tests see it.
#pragma once

#include <QDialog>
#include <functional>
#include <utility>

#include "ui/background_work.h"

class QTimer;

namespace drovik::ui {

// The box: no caption and no buttons; the operator cannot close it early, the windows beneath
// keep painting, and it closes itself once the work has ended.
class WaitBox : public QDialog {
  Q_OBJECT

 public:
  // `finished` is polled; the box accepts as soon as it returns true.
  WaitBox(const QString& text, std::function<bool()> finished, QWidget* parent = nullptr);

 Q_SIGNALS:
  // A look at the work found it still running: the box stays.
  void workStillRunning();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void poll();

  std::function<bool()> finished_;
  QTimer* timer_;
};

// What the box says while another program holds the lock of the profile files.
QString folderBusyText();

// Waits up to 150 ms for `finished` with the event loop running and the operator's input held
// back; true when it finished. Most waits end within it, and no box flashes up for them.
bool waitBriefly(const std::function<bool()>& finished);

// Waits until `finished`: briefly, then behind a WaitBox saying `text`.
void waitShowingBox(QWidget* parent, const QString& text, const std::function<bool()>& finished);

// Runs `work` in the background and returns its result, waiting as waitShowingBox does. The
// caller leaves alone whatever `work` uses until it returns.
template <class Work>
auto runInBackground(QWidget* parent, const QString& text, Work work) -> decltype(work()) {
  auto result = startInBackground(std::move(work));
  waitShowingBox(parent, text, [&result] { return result.isFinished(); });
  return result.takeResult();
}

}  // namespace drovik::ui
