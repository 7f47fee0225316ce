#include "editor/page_layout.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <algorithm>

#include "editor/radio_pair.h"

namespace drovik::editor {
namespace {

constexpr int kPageMarginUnits = 7;  // page edge to the outer frames
constexpr int kIndentUnits = 6;      // a frame's edge to a frame nested in it
constexpr int kPaddingUnits = 8;     // a frame's edge to its captions and controls
constexpr int kGapUnits = 6;         // caption to control, control to unit
constexpr int kSpinnerUnits = 40;    // a number box with its arrows

}  // namespace

PageLayout::PageLayout(QWidget& page, const DialogUnits& units) : page_(page), units_(units) {}

int PageLayout::addFrame(const QString& label, const QString& name, int top, int parent) {
  QWidget* host = parent >= 0 ? frames_[parent].box : &page_;
  QWidget* box = nullptr;
  if (label.isEmpty()) {
    box = new QWidget(host);
  } else {
    auto* group = new QGroupBox(label, host);
    group->setAccessibleName(label);
    box = group;
  }
  box->setObjectName(name);
  frames_.push_back({box, label, top, parent, {}});
  return static_cast<int>(frames_.size()) - 1;
}

void PageLayout::addRow(int frame, const QString& caption, QWidget* control, const QString& unit) {
  QWidget* box = frames_[frame].box;
  auto* label = new QLabel(caption, box);
  label->setObjectName(control->objectName() + "_caption");
  label->setBuddy(control);
  if (control->accessibleName().isEmpty()) control->setAccessibleName(caption);
  // Every user page repeats the same captions in several groups ("用紙長さ" in each tractor's).
  if (control->accessibleDescription().isEmpty())
    control->setAccessibleDescription(frames_[frame].title);
  QLabel* unitLabel = nullptr;
  if (!unit.isEmpty()) {
    unitLabel = new QLabel(unit, box);
    unitLabel->setObjectName(control->objectName() + "_unit");
  }
  frames_[frame].rows.push_back({label, control, unitLabel});
}

int PageLayout::titleHeight() const { return QFontMetrics(page_.font()).height() + units_.y(3); }

int PageLayout::depth(int frame) const {
  int d = 0;
  for (int f = frames_[frame].parent; f >= 0; f = frames_[f].parent) ++d;
  return d;
}

int PageLayout::controlWidth(QWidget* control) const {
  return std::max(control->sizeHint().width(), units_.x(64));
}

QSize PageLayout::place(int pitch, int minWidth) {
  const int margin = units_.x(kPageMarginUnits);
  const int indent = units_.x(kIndentUnits);
  const int padding = units_.x(kPaddingUnits);
  const int gap = units_.x(kGapUnits);

  // The shared columns: captions, lists, the two radio buttons of a pair.
  int controlX = 0;
  int listWidth = 0;
  int firstRadio = 0;
  int secondRadio = 0;
  int unitWidth = 0;
  for (int f = 0; f < static_cast<int>(frames_.size()); ++f) {
    frames_[f].left = margin + depth(f) * indent;
    for (const Row& row : frames_[f].rows) {
      controlX = std::max(controlX, frames_[f].left + padding + row.caption->sizeHint().width());
      if (auto* pair = qobject_cast<RadioPair*>(row.control)) {
        firstRadio = std::max(firstRadio, pair->firstRadioWidth());
        secondRadio = std::max(secondRadio, pair->radio(1)->sizeHint().width());
      } else if (!qobject_cast<QAbstractSpinBox*>(row.control)) {
        listWidth = std::max(listWidth, controlWidth(row.control));
      }
      if (row.unit) unitWidth = std::max(unitWidth, row.unit->sizeHint().width() + gap);
    }
  }
  controlX = std::max(controlX + gap, units_.x(86));
  const int secondColumn = firstRadio + units_.x(10);
  const int columnWidth =
      std::max({listWidth, secondColumn + secondRadio, units_.x(kSpinnerUnits) + unitWidth});
  const int outerWidth = std::max(minWidth - 2 * margin, controlX + columnWidth + padding - margin);

  int pageHeight = 0;
  const int title = titleHeight();
  // Frames are placed children first, so that a frame knows where its nested frames end.
  std::vector<int> bottom(frames_.size(), 0);
  for (int f = static_cast<int>(frames_.size()) - 1; f >= 0; --f) {
    Frame& frame = frames_[f];
    const bool titled = !frame.title.isEmpty();
    const int rowsTop = frame.top + (titled ? title : 0);
    int end = rowsTop;
    for (std::size_t r = 0; r < frame.rows.size(); ++r) {
      const Row& row = frame.rows[r];
      const int y = rowsTop + static_cast<int>(r) * pitch - frame.top;
      const int height = pitch - 2;
      const int x = controlX - frame.left;
      row.caption->setGeometry(padding, y, x - padding - gap / 2, height);
      int width = columnWidth;
      if (auto* pair = qobject_cast<RadioPair*>(row.control))
        pair->setSecondColumn(secondColumn);
      else if (qobject_cast<QAbstractSpinBox*>(row.control))
        width = units_.x(kSpinnerUnits);
      else if (!qobject_cast<QComboBox*>(row.control))
        width = std::min(columnWidth, controlWidth(row.control));
      row.control->setGeometry(x, y, width, height);
      if (row.unit) row.unit->setGeometry(x + width + gap, y, unitWidth, height);
      end = rowsTop + static_cast<int>(r + 1) * pitch;
    }
    end = std::max(end, bottom[f]) + (titled ? units_.y(4) : 0);
    const int hostLeft = frame.parent >= 0 ? frames_[frame.parent].left : 0;
    const int hostTop = frame.parent >= 0 ? frames_[frame.parent].top : 0;
    frame.box->setGeometry(frame.left - hostLeft, frame.top - hostTop,
                           outerWidth - 2 * depth(f) * indent, end - frame.top);
    if (frame.parent >= 0) bottom[frame.parent] = std::max(bottom[frame.parent], end);
    pageHeight = std::max(pageHeight, end);
  }
  return {outerWidth + 2 * margin, pageHeight + units_.y(kPageMarginUnits)};
}

}  // namespace drovik::editor
