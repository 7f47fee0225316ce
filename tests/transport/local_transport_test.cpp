// The generated files, the batch runner and the parallel route, with the port pointed at a
// FIFO in the test folder; the log judgement; a run on a worker thread.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/fake_send_route.h"
#include "support/temp_dir.h"
#include "transport/batch_runner.h"
#include "transport/ftp_log.h"
#include "transport/ftp_transcript.h"
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
  auto folder = TransferFolder::open(dir.path());
  ASSERT_TRUE(folder);
  GeneratedFiles files(*folder);
  ASSERT_TRUE(files.writeText(kFtpBatchName, ftpBatchText()).isOk());
  EXPECT_EQ(readFile(dir / "rftpcmd.bat"), golden("rftpcmd.bat"));
  ASSERT_TRUE(files.writeText(kFtpScriptName, *sendScriptText({192, 168, 1, 20})));
  EXPECT_EQ(readFile(dir / "rftpcmd.ftp"), golden("rftpcmd_send.ftp"));
  // An empty password is an empty line.
  ASSERT_TRUE(files.writeText(kFtpScriptName, *retrievalScriptText({10, 0, 0, 255}, "")));
  EXPECT_EQ(readFile(dir / "rftpcmd.ftp"), golden("rftpcmd_get_empty_password.ftp"));
  // What the run executes is what it wrote last, found by name or by full path.
  ASSERT_NE(files.find(dir / "rftpcmd.ftp"), nullptr);
  EXPECT_EQ(*files.find("rftpcmd.ftp"), golden("rftpcmd_get_empty_password.ftp"));
  EXPECT_EQ(files.find("../rftpcmd.ftp"), nullptr);
  EXPECT_EQ(files.find("rsic_cmd.bin"), nullptr);
  // An octet outside 0..255 names no printer: no script for it, not one for its low byte.
  EXPECT_EQ(sendScriptText({192, 168, 1, 300}).message(),
            "ＩＰアドレス 192.168.1.300 は使えません。\n0 から 255 までの数を4つ指定してください");
  EXPECT_FALSE(retrievalScriptText({10, 0, 256, 255}, ""));
  EXPECT_FALSE(retrievalScriptText({-1, 0, 0, 1}, ""));
}

TEST(GeneratedFiles, ThePasswordScriptIsNeverReadableByOthers) {
  TempDir dir;
  auto folder = TransferFolder::open(dir.path());
  ASSERT_TRUE(folder);
  GeneratedFiles files(*folder);
  // An older file of the same user is replaced by a private one, not reused.
  test::writeFile(dir / "rftpcmd.ftp", "older");
  ::chmod((dir / "rftpcmd.ftp").c_str(), 0644);
  struct stat older {};
  ::stat((dir / "rftpcmd.ftp").c_str(), &older);
  ASSERT_TRUE(files.writeText(kFtpScriptName, "pw", FileAccess::OwnerOnly));
  struct stat written {};
  ::stat((dir / "rftpcmd.ftp").c_str(), &written);
  EXPECT_EQ(written.st_mode & 0777, 0600u);
  EXPECT_NE(written.st_ino, older.st_ino);
  // A link planted under the script's name is neither followed nor replaced.
  fs::remove(dir / "rftpcmd.ftp");
  fs::create_symlink(dir / "elsewhere", dir / "rftpcmd.ftp");
  const auto refused = files.writeText(kFtpScriptName, "pw", FileAccess::OwnerOnly);
  EXPECT_NE(refused.message().find("通常のファイルではない"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "elsewhere"));
  EXPECT_TRUE(fs::is_symlink(dir / "rftpcmd.ftp"));
  // No temporary is left behind by a refusal or a success.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 1u);
}

class ParallelPort : public ::testing::Test {
 protected:
  ParallelPort() {
    fs::create_directory(programDir);
    ::mkfifo(port.c_str(), 0600);
    folder.emplace(std::move(*TransferFolder::open(programDir)));
    files.emplace(*folder);
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
  // The files of a run, for batches run directly.
  std::optional<TransferFolder> folder;
  std::optional<GeneratedFiles> files;
};

TEST_F(ParallelPort, CopiesTheImageToThePortThroughTheQuotedBatch) {
  const int printer = ::open(port.c_str(), O_RDWR | O_NONBLOCK);
  const SendOutcome outcome = send({dir / "missing", port});
  EXPECT_TRUE(outcome.reached()) << outcome.detail;
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
  ASSERT_TRUE(files->writeText("x.bin", "data"));
  ASSERT_TRUE(files->writeText("evil.bat", "copy /b x.bin lpt1\ndel x.bin"));
  RunControl control;
  const BatchRun ran = runGeneratedBatch(*files, programDir / "evil.bat", {{port}}, control);
  EXPECT_EQ(ran.ran.message(), "バッチファイルの次の行は実行できません: del x.bin");
  // An FTP script may not fetch into or send from outside the program folder.
  ASSERT_TRUE(files->writeText("a.bat", "ftp -i -s:a.ftp > a.log"));
  ASSERT_TRUE(files->writeText("a.ftp", "open 127.0.0.9\nroot\n\nget nvr_all.bin ../x\nbye"));
  const BatchRun outside = runGeneratedBatch(*files, "a.bat", {{port}}, control);
  EXPECT_FALSE(outside.ran.isOk());
  ASSERT_TRUE(outside.ftpTranscript);
  EXPECT_NE(outside.ftpTranscript->find("4行目"), std::string::npos);
  EXPECT_NE(readFile(programDir / "a.log").find("4行目"), std::string::npos);
}

TEST_F(ParallelPort, RunsOnlyWhatThisRunGeneratedNeverWhatTheFolderHolds) {
  ASSERT_TRUE(files->writeText("x.bin", "mine"));
  ASSERT_TRUE(files->writeText("a.bat", "copy /b x.bin lpt1"));
  // Swapped on disk after they were written: the batch, and the file it copies.
  test::writeFile(programDir / "a.bat", "copy /b other.bin lpt1");
  test::writeFile(programDir / "x.bin", "swapped");
  test::writeFile(programDir / "other.bin", "other");
  const int printer = ::open(port.c_str(), O_RDWR | O_NONBLOCK);
  RunControl control(std::chrono::seconds(2));
  EXPECT_TRUE(runGeneratedBatch(*files, "a.bat", {{port}}, control).ran.isOk());
  EXPECT_EQ(received(printer), "mine");
  // A batch naming a file the run did not write runs nothing.
  ASSERT_TRUE(files->writeText("b.bat", "copy /b other.bin lpt1"));
  EXPECT_NE(runGeneratedBatch(*files, "b.bat", {{port}}, control).ran.message().find("other.bin"),
            std::string::npos);
  EXPECT_EQ(received(printer), "");
  ::close(printer);
}

TEST(FtpLog, ATransferCountsBeforeARefusedLoginAndNeedsASupportedModel) {
  const std::string transfer = "150 Open data connection.\n226 Data connection closed.\n";
  EXPECT_EQ(judgeRetrievalLog(true, transfer + "220 8630-J05\n530 Login incorrect.\n"),
            RetrievalVerdict::Retrieved);
  EXPECT_EQ(judgeRetrievalLog(true, transfer + "220 8630-M\n"), RetrievalVerdict::UnsupportedModel);
  EXPECT_EQ(judgeRetrievalLog(false, "150 Open data connection.\n530 Login incorrect.\n"),
            RetrievalVerdict::LoginIncorrect);
  EXPECT_EQ(judgeRetrievalLog(true, std::nullopt), RetrievalVerdict::Failed);
  // Markers a greeting carries do not make failed transfers a retrieval.
  EXPECT_EQ(judgeRetrievalLog(false, "220 " + transfer + "220 8630-J05\n"),
            RetrievalVerdict::Failed);
}

TEST(FtpTranscript, MasksAnEchoedPasswordInTheFileButJudgesTheRepliesAsReceived) {
  TempDir dir;
  const int fd = ::open((dir / "log").c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  FtpTranscript transcript(fd);
  transcript.reply("220 8630-H05 ready");  // before the password: nothing to mask
  transcript.addSecret("");                // an empty password masks nothing
  transcript.addSecret("a");
  transcript.reply("230 Welcome a, your password is a.");
  transcript.reply("150 Open data connection.");
  transcript.reply("226 Data connection closed.");
  transcript.reply("a");                         // no reply code: masked from the start
  transcript.line("ftp: a line of the client");  // the client's own words stay
  ::close(fd);
  EXPECT_EQ(readFile(dir / "log"),
            "220 8630-H05 ready\r\n"
            "230 Welcome ****, your p****ssword is ****.\r\n"
            "150 Open d****t**** connection.\r\n"
            "226 D****t**** connection closed.\r\n"
            "****\r\n"
            "ftp: a line of the client\r\n");
  EXPECT_TRUE(logShowsTransfer(transcript.text()));
}

}  // namespace
}  // namespace drovik::transport
