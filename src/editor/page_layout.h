// Places the rows of a settings page: framed groups (frames may nest) with one row per item,
// the caption on the left and the control in one column that every row of the page shares,
// far enough right for the longest caption. Frames start at given page pixels, so that a
// page can be scrolled to a group's frame.
#pragma once

#include <QSize>
#include <QString>
#include <vector>

#include "editor/dialog_units.h"

class QLabel;
class QWidget;

namespace drovik::editor {

class PageLayout {
 public:
  PageLayout(QWidget& page, const DialogUnits& units);

  // A frame titled `label` (untitled and unframed when empty) whose top lies at `top` page
  // pixels, inside the frame `parent` when given. Returns the frame's number.
  int addFrame(const QString& label, const QString& name, int top, int parent = -1);
  // The widget that rows of the frame are created in.
  QWidget* frame(int frame) const { return frames_[frame].box; }
  // Adds a row to the frame: its caption label, its control and an optional unit after it.
  // The caption is the control's buddy and, unless it has one, its accessible name; the
  // frame's title its accessible description.
  void addRow(int frame, const QString& caption, QWidget* control, const QString& unit = {});

  // The space each frame's title takes above its first row.
  int titleHeight() const;
  // Row pitch from the frame layout given in dialog units.
  int standardPitch() const { return units_.y(16); }

  // Places frames and rows, rows `pitch` apart; returns the size the page needs.
  QSize place(int pitch, int minWidth);

 private:
  struct Row {
    QLabel* caption;
    QWidget* control;
    QLabel* unit;
  };
  struct Frame {
    QWidget* box;
    QString title;  // empty for an unframed group
    int top;        // page pixels
    int parent;
    std::vector<Row> rows;
    int left = 0;  // page pixels, set by place()
  };
  int depth(int frame) const;
  int controlWidth(QWidget* control) const;

  QWidget& page_;
  DialogUnits units_;
  std::vector<Frame> frames_;
};

}  // namespace drovik::editor
