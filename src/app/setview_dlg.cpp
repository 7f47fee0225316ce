#include "app/setview_dlg.h"

#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>

#include "ui/accessibility.h"
#include "ui/dialog_buttons.h"
#include "ui_setview_dlg.h"

namespace drovik {

namespace {

constexpr int kVisibleColumns = 30;  // full-width characters across the text
constexpr int kVisibleLines = 32;

// The labels end in runs of tabs meant for one particular font. With any other font the values
// line up only when the run becomes one tab to a stop just past the widest label.
QString alignedValues(const std::string& report, const QFontMetricsF& metrics, qreal* tabStop) {
  QStringList lines = QString::fromStdString(report).split(QStringLiteral("\r\n"));
  static const QRegularExpression tabRun(QStringLiteral("\t+"));
  qreal widestLabel = 0;
  for (QString& line : lines) {
    line.replace(tabRun, QStringLiteral("\t"));
    const auto tab = line.indexOf(QLatin1Char('\t'));
    if (tab > 0) widestLabel = std::max(widestLabel, metrics.horizontalAdvance(line.left(tab)));
  }
  *tabStop = widestLabel + 2 * metrics.horizontalAdvance(QChar(0x3000));
  return lines.join(QLatin1Char('\n'));
}

}  // namespace

CDlgSetview::CDlgSetview(const std::string& report, QWidget* parent)
    : QDialog(parent), ui_(new Ui::CDlgSetview) {
  ui_->setupUi(this);
  ui::captionDialogButtons(*ui_->buttonBox);
  ui::nameControlsAfterCaptions(*this);
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &CDlgSetview::accept);

  const QFontMetricsF metrics(ui_->reportText->font());
  qreal tabStop = 0;
  ui_->reportText->setPlainText(alignedValues(report, metrics, &tabStop));
  ui_->reportText->setTabStopDistance(tabStop);
  const qreal fullWidth = metrics.horizontalAdvance(QChar(0x3000));
  resize(static_cast<int>(std::max(tabStop + 14 * fullWidth, kVisibleColumns * fullWidth)) + 60,
         static_cast<int>(kVisibleLines * metrics.lineSpacing()));
  ui_->buttonBox->button(QDialogButtonBox::Ok)->setFocus();
}

CDlgSetview::~CDlgSetview() = default;

}  // namespace drovik
