#include "nvram/nvram_files.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "nvram/nvram_decoder.h"
#include "support/temp_dir.h"

namespace drovik::nvram {
namespace {

namespace fs = std::filesystem;

class NvramFiles : public ::testing::Test {
 protected:
  void write(std::string_view name, std::vector<std::uint8_t> bytes) {
    std::ofstream(dir_ / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }

  test::TempDir temp_;
  const fs::path& dir_ = temp_.path();
};

// Initial user 6, and an unsupported front form length for user 1.
std::vector<std::uint8_t> allImage(std::size_t size = 1758) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[0] = 5;
  bytes[212 + 105] = 16;
  return bytes;
}

std::vector<std::uint8_t> sizedNetworkImage(std::size_t size = 13) {
  std::vector<std::uint8_t> bytes(size, 0);
  bytes[1] = 10;  // first octet of the IP address
  return bytes;
}

const std::string kFormLenWarning =
    "ユーザー１：フロントトラクタ用紙長さ\n"
    "サポート外の値が設定されているため、本設定は反映されません";

TEST_F(NvramFiles, ReadsWholeFilesUpTo100KB) {
  write("empty.bin", {});
  EXPECT_TRUE(readImageFile(dir_ / "empty.bin")->empty());
  write("max.bin", std::vector<std::uint8_t>(102400, 7));
  EXPECT_EQ(readImageFile(dir_ / "max.bin")->size(), 102400u);
  write("big.bin", std::vector<std::uint8_t>(102401, 7));
  EXPECT_EQ(readImageFile(dir_ / "big.bin").message(), "ファイルサイズを100KB以下にしてください");
  fs::create_directory(dir_ / "sub.bin");
  EXPECT_FALSE(readImageFile(dir_ / "sub.bin").isOk());
}

TEST_F(NvramFiles, DecodesBothImagesAndReportsInImageOrder) {
  write(kAllImageFileName, allImage());
  write(kNetworkImageFileName, sizedNetworkImage());
  ProfileModel m;
  EXPECT_EQ(decodeRetrievedImages(m, readRetrievedImages(dir_)),
            std::vector<std::string>{kFormLenWarning});
  EXPECT_EQ(m.values.selectUser, 5);
  EXPECT_EQ(m.values.iface.octet[0][0], 10);

  write(kNetworkImageFileName, sizedNetworkImage(12));
  const auto messages = decodeRetrievedImages(m, readRetrievedImages(dir_));
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0], kFormLenWarning);
  EXPECT_NE(messages[1].find("「rnvr_nw.bin」のサイズ（12バイト）"), std::string::npos);
}

TEST_F(NvramFiles, AFailedImageDoesNotStopTheOther) {
  write(kNetworkImageFileName, sizedNetworkImage());
  ProfileModel m;
  auto messages = decodeRetrievedImages(
      m, readRetrievedImages(dir_));  // rnvr_all.bin missing: said, not hidden
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("「rnvr_all.bin」"), std::string::npos);
  EXPECT_EQ(m.values.iface.octet[0][0], 10);
  // Where the two go together, the missing one refuses both.
  EXPECT_NE(bothImages(readRetrievedImages(dir_)).message().find("「rnvr_all.bin」"),
            std::string::npos);

  write(kAllImageFileName, allImage(102401));
  messages = decodeRetrievedImages(m, readRetrievedImages(dir_));
  EXPECT_EQ(messages, std::vector<std::string>{"ファイルサイズを100KB以下にしてください"});
  EXPECT_EQ(m.values.selectUser, 0);
}

}  // namespace
}  // namespace drovik::nvram
