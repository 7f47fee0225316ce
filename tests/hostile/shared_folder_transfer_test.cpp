// Sends and retrievals in a program folder that another user may write to, and against
// hostile printers: the password is never readable by the other user nor left in the log, no
// file or link of theirs is written through, nothing swapped in is run or uploaded, no
// oversized image is kept, and a refused upload is reported as the failure it is.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "hostile/other_user.h"
#include "hostile/time_guard.h"
#include "peers/printer_simulator.h"
#include "support/temp_dir.h"
#include "transport/batch_runner.h"
#include "transport/ftp_route.h"
#include "transport/ftp_session.h"
#include "transport/generated_files.h"
#include "transport/ipv4_address.h"
#include "transport/retrieval.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

namespace fs = std::filesystem;
using hostile::kOtherUserId;
using hostile::OtherUser;
using test::PrinterSimulator;
using test::PrinterSimulatorOptions;
using test::readFile;
using test::TempDir;

const std::string kPassword = "s3cret-pw";

PrinterSimulatorOptions printerWith(std::string password) {
  PrinterSimulatorOptions options;
  options.password = std::move(password);
  return options;
}

// The other user's round: every entry of the folder opened and read as far as they may;
// counts the ones that showed them the password.
int passwordsReadIn(const std::string& folder, const std::string& password) {
  int found = 0;
  DIR* entries = ::opendir(folder.c_str());
  if (!entries) return 0;
  while (const dirent* entry = ::readdir(entries)) {
    const int fd = ::openat(::dirfd(entries), entry->d_name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    char bytes[65536];
    const ssize_t n = ::read(fd, bytes, sizeof bytes);
    if (n > 0 && ::memmem(bytes, static_cast<std::size_t>(n), password.data(), password.size()))
      ++found;
    ::close(fd);
  }
  ::closedir(entries);
  return found;
}

class SharedFolder : public ::testing::Test {
 protected:
  SharedFolder() {
    ::chmod(dir.path().c_str(), 0777);  // as a folder shared by the printer administrators
  }

  RetrievalOutcome retrieve(const Ipv4Octets& address, const std::string& password) {
    RunControl control;
    return retrievePrinterImages(dir.path(), address, password, control);
  }
  SendOutcome send(const Ipv4Octets& address) {
    FtpRoute route(dir.path(), address);
    RunControl control;
    return route.send(image, control);
  }
  // A file of the other user's under `name`, as if they had made it first.
  void plantForeignFile(const std::string& name, const std::string& bytes) {
    test::writeFile(dir / name, bytes);
    ASSERT_EQ(::chown((dir / name).c_str(), kOtherUserId, kOtherUserId), 0);
    ASSERT_EQ(::chmod((dir / name).c_str(), 0666), 0);
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  void clearFolder() {
    for (const auto& name : entries()) fs::remove_all(dir / name);
  }
  std::string log() const { return readFile(dir / std::string(kFtpLogName)); }

  hostile::TimeGuard guard{::testing::UnitTest::GetInstance()->current_test_info()->name(),
                           hostile::kCaseTimeLimit};
  TempDir dir;
  const std::vector<std::uint8_t> image = std::vector<std::uint8_t>(2955, 0x5A);
};

TEST_F(SharedFolder, TakenNamesAreRefusedBeforeAnythingIsWrittenOrSent) {
  TempDir elsewhere;
  test::writeFile(elsewhere / "target", "precious");
  const std::vector<std::string> retrievalFiles = {"rftpcmd.ftp", "rftpcmd.log", "rftpcmd.bat",
                                                   "rnvr_all.bin", "rnvr_nw.bin"};
  const auto expectRefusal = [&](const std::string& message, const std::string& name,
                                 std::string_view why) {
    EXPECT_NE(message.find(name + "」"), std::string::npos) << message;
    EXPECT_NE(message.find(why), std::string::npos) << message;
    EXPECT_EQ(entries(), std::vector<std::string>{name});
  };
  for (const std::string& name : retrievalFiles) {
    SCOPED_TRACE(name);
    // Another user's file, made before the run to read what root will put in it.
    plantForeignFile(name, "");
    const RetrievalOutcome foreign = retrieve(test::randomLoopbackAddress(), kPassword);
    expectRefusal(foreign.message, name, "他のユーザー");
    EXPECT_EQ(readFile(dir / name), "");
    clearFolder();
    // A link (to a file of root's) or a FIFO under the name.
    fs::create_symlink(elsewhere / "target", dir / name);
    expectRefusal(retrieve(test::randomLoopbackAddress(), kPassword).message, name,
                  "通常のファイルではない");
    EXPECT_EQ(readFile(elsewhere / "target"), "precious");
    clearFolder();
    ASSERT_EQ(::mkfifo((dir / name).c_str(), 0666), 0);
    expectRefusal(retrieve(test::randomLoopbackAddress(), kPassword).message, name,
                  "通常のファイルではない");
    clearFolder();
  }
  // The send: nothing reaches the printer either.
  PrinterSimulator printer(printerWith(""));
  DROVIK_START_OR_SKIP(printer);
  for (const std::string name : {"rsic_cmd.bin", "rftpcmd.ftp", "rftpcmd.log", "rftpcmd.bat"}) {
    SCOPED_TRACE(name);
    plantForeignFile(name, "theirs");
    const SendOutcome outcome = send(printer.address());
    EXPECT_FALSE(outcome.reached());
    expectRefusal(outcome.message, name, "他のユーザー");
    EXPECT_EQ(readFile(dir / name), "theirs");
    EXPECT_FALSE(fs::exists(printer.uploaded("rsic_cmd.bin")));
    clearFolder();
  }
}

TEST_F(SharedFolder, AnotherUserWatchingTheFolderNeverReadsThePassword) {
  PrinterSimulatorOptions options = printerWith(kPassword);
  options.echoPassword = true;  // and the printer repeats it in every reply
  options.sendSeconds = 0.2;    // a run long enough to be watched
  PrinterSimulator printer(options);
  DROVIK_START_OR_SKIP(printer);
  const std::string folder = dir.path().string();
  OtherUser watcher([&folder] { return passwordsReadIn(folder, kPassword); });
  const RetrievalOutcome outcome = retrieve(printer.address(), kPassword);
  EXPECT_EQ(watcher.stop(), 0);
  EXPECT_TRUE(outcome.retrieved()) << outcome.detail << log();
  // Masked where the printer echoed it; the script emptied, and private while it was not.
  EXPECT_EQ(log().find(kPassword), std::string::npos) << log();
  EXPECT_NE(log().find("230 Login successful. (password ****)"), std::string::npos) << log();
  struct stat script {};
  ASSERT_EQ(::stat((dir / "rftpcmd.ftp").c_str(), &script), 0);
  EXPECT_EQ(script.st_size, 0);
  EXPECT_EQ(script.st_mode & 0777, 0600u);
  struct stat logInfo {};
  ASSERT_EQ(::stat((dir / "rftpcmd.log").c_str(), &logInfo), 0);
  EXPECT_EQ(logInfo.st_mode & 0777, 0600u);
}

TEST_F(SharedFolder, AMaskedShortPasswordDoesNotSpoilTheJudgement) {
  // "a" is in the transfer replies the judgement looks for: it reads them as received, only
  // the log file has them masked.
  PrinterSimulatorOptions options = printerWith("a");
  options.echoPassword = true;
  PrinterSimulator printer(options);
  DROVIK_START_OR_SKIP(printer);
  const RetrievalOutcome outcome = retrieve(printer.address(), "a");
  EXPECT_TRUE(outcome.retrieved()) << outcome.detail << log();
  EXPECT_NE(log().find("226 D****t**** connection closed."), std::string::npos) << log();
}

TEST_F(SharedFolder, ALinkPlantedAsTheLogNeverRedirectsTheTranscript) {
  TempDir elsewhere;
  const fs::path target = elsewhere / "root-only";
  test::writeFile(target, "precious");
  ::chmod(target.c_str(), 0600);
  PrinterSimulator printer(printerWith(""));
  DROVIK_START_OR_SKIP(printer);
  const std::string log = (dir / "rftpcmd.log").string();
  const std::string link = target.string();
  OtherUser linker([&log, &link] {
    ::unlink(log.c_str());
    return ::symlink(link.c_str(), log.c_str()) == 0 ? 1 : 0;
  });
  // Refused while the link is there, sent while it is not: the target is never written.
  for (int run = 0; run < 5; ++run) {
    send(printer.address());
    retrieve(printer.address(), "");
  }
  EXPECT_GT(linker.stop(), 0);
  EXPECT_EQ(readFile(target), "precious");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 8);
}

TEST_F(SharedFolder, FilesSwappedAfterTheyWereWrittenAreNeverRunNorUploaded) {
  PrinterSimulator printer(printerWith(""));
  DROVIK_START_OR_SKIP(printer);
  PrinterSimulator thief(printerWith(""));
  DROVIK_START_OR_SKIP(thief);
  test::writeFile(dir / "root-only.bin", "root's own");
  ::chmod((dir / "root-only.bin").c_str(), 0600);
  const std::string theirScript =
      "open " + dottedOctets(thief.address()) + "\r\nroot\r\n\r\nbin\r\nput root-only.bin\r\nbye";
  const std::string expected(image.begin(), image.end());

  // Swapped between their writing and the run: the run is what was generated.
  {
    auto folder = TransferFolder::open(dir.path());
    ASSERT_TRUE(folder);
    GeneratedFiles files(*folder);
    ASSERT_TRUE(files.writeCommandFile(image));
    auto batch = files.writeText(kFtpBatchName, ftpBatchText());
    ASSERT_TRUE(batch);
    ASSERT_TRUE(files.writeText(kFtpScriptName, *sendScriptText(printer.address())));
    plantForeignFile("rftpcmd.ftp", theirScript);
    plantForeignFile("rsic_cmd.bin", "swapped");
    plantForeignFile("rftpcmd.bat", "ftp -i -s:theirs.ftp > rftpcmd.log");
    RunControl control;
    EXPECT_TRUE(runGeneratedBatch(files, *batch, {}, control).ran.isOk());
    EXPECT_TRUE(readFile(printer.uploaded("rsic_cmd.bin")) == expected);
    EXPECT_FALSE(fs::exists(thief.uploaded("root-only.bin")));
  }
  clearFolder();
  test::writeFile(dir / "root-only.bin", "root's own");
  ::chmod((dir / "root-only.bin").c_str(), 0600);
  fs::remove(printer.uploaded("rsic_cmd.bin"));

  // The same while the route runs: the other user swaps every file of root's they see.
  const std::string folder = dir.path().string();
  OtherUser swapper([&folder, &theirScript] {
    int swaps = 0;
    const int at = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (const char* name : {"rftpcmd.ftp", "rsic_cmd.bin"}) {
      struct stat info {};
      if (::fstatat(at, name, &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != 0) continue;
      const int fd = ::openat(at, ".theirs", O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
      if (fd < 0) continue;
      const bool script = name[1] == 'f';
      const std::string_view bytes = script ? std::string_view(theirScript) : "swapped";
      const bool written = ::write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size());
      ::close(fd);
      if (written && ::renameat(at, ".theirs", at, name) == 0) ++swaps;
    }
    ::close(at);
    return swaps;
  });
  for (int run = 0; run < 5; ++run) {
    const SendOutcome outcome = send(printer.address());
    if (outcome.reached()) {
      EXPECT_TRUE(readFile(printer.uploaded("rsic_cmd.bin")) == expected);
    }
    // What they swapped in would make the next run refuse to start.
    fs::remove(dir / "rftpcmd.ftp");
    fs::remove(dir / "rsic_cmd.bin");
  }
  EXPECT_GT(swapper.stop(), 0);
  EXPECT_FALSE(fs::exists(thief.uploaded("root-only.bin")));
}

TEST_F(SharedFolder, AnOversizedImageIsStoppedAndNeverKept) {
  PrinterSimulatorOptions announced = printerWith(kPassword);
  announced.allImageBytes = 52u << 20;  // says its size
  PrinterSimulatorOptions endless = printerWith(kPassword);
  endless.endlessDownloads = true;  // says nothing and never stops
  for (const PrinterSimulatorOptions& options : {announced, endless}) {
    SCOPED_TRACE(options.endlessDownloads ? "endless" : "announced");
    PrinterSimulator printer(options);
    DROVIK_START_OR_SKIP(printer);
    const RetrievalOutcome outcome = retrieve(printer.address(), kPassword);
    EXPECT_EQ(outcome.verdict, RetrievalVerdict::Failed);
    EXPECT_EQ(outcome.message, kRetrievalFailedMessage);
    EXPECT_NE(outcome.detail.find("larger than 102400 bytes"), std::string::npos) << outcome.detail;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
      EXPECT_LE(entry.file_size(), kMaxDownloadBytes) << entry.path();
    }
    EXPECT_FALSE(fs::exists(dir / "rnvr_all.bin"));
  }
}

TEST_F(SharedFolder, ARefusedUploadFailsWhateverTheGreetingSays) {
  PrinterSimulatorOptions options = printerWith("");
  options.greeting = "150 Open data connection. 226 Data connection closed. 8630-H05";
  options.refuseUploads = true;
  PrinterSimulator printer(options);
  DROVIK_START_OR_SKIP(printer);
  const SendOutcome outcome = send(printer.address());
  EXPECT_FALSE(outcome.reached()) << log();
  EXPECT_EQ(outcome.message, kNetworkFailedMessage);
  EXPECT_NE(outcome.detail.find("553"), std::string::npos) << outcome.detail;
  EXPECT_NE(log().find("553 Could not create file."), std::string::npos) << log();
}

}  // namespace
}  // namespace drovik::transport
