#include "app/setview_dlg.h"

#include "app/ui/accessibility.h"
#include "app/ui/dialog_buttons.h"
#include "ui_setview_dlg.h"

namespace drovik {

namespace {

// The labels are padded with tabs for stops every four full-width characters.
constexpr int kFullWidthCharsPerTab = 4;
constexpr int kVisibleColumns = 30;  // full-width characters across the text
constexpr int kVisibleLines = 32;

}  // namespace

CDlgSetview::CDlgSetview(const std::string& report, QWidget* parent)
    : QDialog(parent), ui_(new Ui::CDlgSetview) {
  ui_->setupUi(this);
  ui::captionDialogButtons(*ui_->buttonBox);
  ui::nameControlsAfterCaptions(*this);
  connect(ui_->buttonBox, &QDialogButtonBox::accepted, this, &CDlgSetview::accept);

  const QFontMetricsF metrics(ui_->reportText->font());
  const qreal fullWidth = metrics.horizontalAdvance(QChar(0x3000));
  ui_->reportText->setTabStopDistance(kFullWidthCharsPerTab * fullWidth);
  QString text = QString::fromStdString(report);
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  ui_->reportText->setPlainText(text);
  resize(static_cast<int>(kVisibleColumns * fullWidth) + 80,
         static_cast<int>(kVisibleLines * metrics.lineSpacing()));
}

CDlgSetview::~CDlgSetview() = default;

QString CDlgSetview::shownText() const { return ui_->reportText->toPlainText(); }

}  // namespace drovik
