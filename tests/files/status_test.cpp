#include "files/status.h"

#include <gtest/gtest.h>

namespace drovik {
namespace {

TEST(Status, MessageOfASuccessIsEmptyText) {
  EXPECT_EQ(Status::ok().message(), "");
  EXPECT_EQ(Result<int>(7).message(), "");
  EXPECT_EQ(Status(Error{"失敗"}).message(), "失敗");
  EXPECT_EQ(Result<int>(Error{"失敗"}).message(), "失敗");
}

}  // namespace
}  // namespace drovik
