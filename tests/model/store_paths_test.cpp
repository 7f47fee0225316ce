// Where a program keeps its profile files when no data folder is named.
#include "model/store_paths.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using drovik::keepsFilesBeside;
using drovik::test::TempDir;

TEST(StorePaths, OnlyAProgramOutsideTheInstallationKeepsItsFilesBesideItself) {
  TempDir dir;
  EXPECT_TRUE(keepsFilesBeside(dir.path(), "/usr/bin"));
  EXPECT_TRUE(keepsFilesBeside(dir.path(), ""));  // built without an installation folder
  // Root may write the installation's folder: it still gets no profile files.
  EXPECT_FALSE(keepsFilesBeside(dir.path(), dir.path()));
  // The same folder by another name, as /bin is /usr/bin on a merged /usr.
  fs::create_directory_symlink(dir.path(), dir / "alias");
  EXPECT_FALSE(keepsFilesBeside(dir / "alias", dir.path()));
  EXPECT_FALSE(keepsFilesBeside(dir.path() / ".", dir.path()));
  EXPECT_FALSE(keepsFilesBeside(dir / "missing", "/usr/bin"));
}

}  // namespace
