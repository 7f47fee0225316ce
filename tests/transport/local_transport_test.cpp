// The generated files, the batch runner and the parallel route, with the port pointed at a
// FIFO in the test folder; the log judgement; a run on a worker thread.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/fake_send_route.h"
#include "support/temp_dir.h"
#include "transport/background_run.h"
#include "transport/batch_runner.h"
#include "transport/ftp_log.h"
#include "transport/generated_files.h"
#include "transport/parallel_route.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;

std::string golden(const std::string& name) {
  return readFile(DROVIK_TEST_DATA_DIR "/transport/" + name);
}

TEST(GeneratedFiles, AreShiftJisWithCrLfBetweenLinesOnly) {
  TempDir dir;
  ASSERT_TRUE(writeGeneratedText(dir.path(), kFtpBatchName, ftpBatchText()).isOk());
  EXPECT_EQ(readFile(dir / "rftpcmd.bat"), golden("rftpcmd.bat"));
  ASSERT_TRUE(writeGeneratedText(dir.path(), kFtpScriptName, *sendScriptText({192, 168, 1, 20})));
  EXPECT_EQ(readFile(dir / "rftpcmd.ftp"), golden("rftpcmd_send.ftp"));
  // An empty password is an empty line.
  ASSERT_TRUE(
      writeGeneratedText(dir.path(), kFtpScriptName, *retrievalScriptText({10, 0, 0, 255}, "")));
  EXPECT_EQ(readFile(dir / "rftpcmd.ftp"), golden("rftpcmd_get_empty_password.ftp"));
  // An octet outside 0..255 names no printer: no script for it, not one for its low byte.
  EXPECT_EQ(sendScriptText({192, 168, 1, 300}).message(),
            "ＩＰアドレス 192.168.1.300 は使えません。\n0 から 255 までの数を4つ指定してください");
  EXPECT_FALSE(retrievalScriptText({10, 0, 256, 255}, ""));
  EXPECT_FALSE(retrievalScriptText({-1, 0, 0, 1}, ""));
}

TEST(GeneratedFiles, ThePasswordScriptIsNeverReadableByOthers) {
  TempDir dir;
  test::writeFile(dir / "rftpcmd.ftp", "older");
  ::chmod((dir / "rftpcmd.ftp").c_str(), 0644);
  ASSERT_TRUE(writeGeneratedText(dir.path(), kFtpScriptName, "pw", FileAccess::OwnerOnly));
  EXPECT_EQ(fs::status(dir / "rftpcmd.ftp").permissions(), fs::perms(0600));
  // A link planted under the script's name is not followed.
  fs::remove(dir / "rftpcmd.ftp");
  fs::create_symlink(dir / "elsewhere", dir / "rftpcmd.ftp");
  EXPECT_FALSE(writeGeneratedText(dir.path(), kFtpScriptName, "pw", FileAccess::OwnerOnly));
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
}

class ParallelPort : public ::testing::Test {
 protected:
  ParallelPort() {
    fs::create_directory(programDir);
    ::mkfifo(port.c_str(), 0600);
  }
  // What a printer holding the port open has received.
  std::string received(int printer) {
    char buffer[256];
    const ssize_t n = ::read(printer, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
  }
  SendOutcome send(std::vector<fs::path> devices) {
    ParallelRoute route(programDir, std::move(devices));
    RunControl control(std::chrono::seconds(2));
    return route.send(image, control);
  }

  TempDir dir;
  const fs::path programDir = dir / "プログラム dir";
  const fs::path port = dir / "lp0";
  const std::vector<std::uint8_t> image{0x1B, 0x00, 0xFF, '"', ' ', 0x0D, 0x0A};
};

TEST_F(ParallelPort, CopiesTheImageToThePortThroughTheQuotedBatch) {
  const int printer = ::open(port.c_str(), O_RDWR | O_NONBLOCK);
  const SendOutcome outcome = send({dir / "missing", port});
  EXPECT_TRUE(outcome.sent) << outcome.detail;
  EXPECT_EQ(outcome.message, kParallelSentMessage);
  EXPECT_EQ(received(printer), std::string(image.begin(), image.end()));
  ::close(printer);
  EXPECT_EQ(readFile(programDir / "rsendcen.bat"),
            "copy /b \"" + dir.path().string() +
                "/\x83v\x83\x8d\x83O\x83\x89\x83\x80 dir/rsic_cmd.bin\" lpt1");
}

TEST_F(ParallelPort, ReportsAFailedCopyInsteadOfSuccess) {
  // Nobody reads the port (printer off), or there is no port at all.
  EXPECT_EQ(send({port}).message, kParallelFailedMessage);
  const SendOutcome noPort = send({dir / "missing"});
  EXPECT_EQ(noPort.message, kParallelFailedMessage);
  EXPECT_EQ(noPort.detail, "パラレルポートが見つかりません");
}

TEST_F(ParallelPort, RefusesABatchWithAnyOtherCommandBeforeRunningIt) {
  test::writeFile(programDir / "x.bin", "data");
  test::writeFile(programDir / "evil.bat", "copy /b x.bin lpt1\r\ndel x.bin");
  RunControl control;
  const Status ran = runBatchFile(programDir / "evil.bat", {programDir, {port}}, control);
  EXPECT_EQ(ran.message(), "バッチファイルの次の行は実行できません: del x.bin");
  // An FTP script may not fetch into or send from outside the program folder.
  test::writeFile(programDir / "a.bat", "ftp -i -s:a.ftp > a.log");
  test::writeFile(programDir / "a.ftp",
                  "open 127.0.0.9\r\nroot\r\n\r\nget nvr_all.bin ../x\r\nbye");
  EXPECT_FALSE(runBatchFile(programDir / "a.bat", {programDir, {port}}, control).isOk());
  EXPECT_NE(readFile(programDir / "a.log").find("4行目"), std::string::npos);
}

TEST(FtpLog, ATransferCountsBeforeARefusedLoginAndNeedsASupportedModel) {
  const std::string transfer = "150 Open data connection.\n226 Data connection closed.\n";
  EXPECT_EQ(judgeRetrievalLog(transfer + "220 8630-J05\n530 Login incorrect.\n"),
            RetrievalVerdict::Retrieved);
  EXPECT_EQ(judgeRetrievalLog(transfer + "220 8630-M\n"), RetrievalVerdict::UnsupportedModel);
  EXPECT_EQ(judgeRetrievalLog("150 Open data connection.\n530 Login incorrect.\n"),
            RetrievalVerdict::LoginIncorrect);
  EXPECT_EQ(judgeRetrievalLog(std::nullopt), RetrievalVerdict::Failed);
}

TEST(BackgroundRun, KeepsTheCallerFreeUntilTheRouteEndsAndPassesOnACancel) {
  test::FakeSendRoute route({true, "sent", ""}, /*holdUntilReleased=*/true);
  const std::vector<std::uint8_t> image(100, 1);
  BackgroundRun<SendOutcome> run([&](RunControl& control) { return route.send(image, control); });
  EXPECT_FALSE(run.waitFor(std::chrono::milliseconds(50)));
  EXPECT_EQ(run.progress().total, 100u);
  run.cancel();
  EXPECT_FALSE(run.take().sent);

  test::FakeSendRoute quick({true, "sent", ""});
  BackgroundRun<SendOutcome> done([&](RunControl& control) { return quick.send(image, control); });
  EXPECT_EQ(done.take().message, "sent");
  EXPECT_EQ(quick.sent().front(), image);
}

}  // namespace
}  // namespace drovik::transport
