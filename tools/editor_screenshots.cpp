// drovik_editor_screenshots OUT_DIR: writes PNGs of the settings dialog as the operator sees
// it: a user page at each group's offset, the user-name page and the interface page. Run it
// on a real display (Xvfb).
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTreeWidgetItem>
#include <cstdio>

#include "editor/check_tree.h"
#include "editor/setting_dlg.h"
#include "editor/tree_slots.h"
#include "model/profile.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
    return 2;
  }
  const QDir out(QString::fromLocal8Bit(argv[1]));
  using namespace drovik::editor;
  drovik::ProfileModel model;
  CDlgSetting dialog(model, nullptr);
  dialog.show();
  auto capture = [&](int slot, const QString& name) {
    dialog.tree().selectSlot(slot);
    dialog.tree().scrollToItem(dialog.tree().itemOf(slot));
    QApplication::processEvents();
    const QString file = out.filePath(name + ".png");
    if (!dialog.grab().save(file)) std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
  };
  const int groupSlots[] = {1, 17, 33, 42, 57, 65};  // the group nodes of a user block
  for (int g = 0; g < 6; ++g)
    capture(kFirstUserSlot + groupSlots[g],
            QStringLiteral("user1_offset_%1").arg(kGroupPageOffsets[g]));
  capture(2, QStringLiteral("user_names"));
  capture(kFirstInterfaceSlot, QStringLiteral("interface"));
  return 0;
}
