// The network send and the retrieval against the printer simulator, end to end: generated
// files, the FTP run, the log judgement and, for the retrieval, the decoded profile.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "nvram/nvram_decoder.h"
#include "nvram/nvram_files.h"
#include "peers/printer_simulator.h"
#include "support/temp_dir.h"
#include "transport/ftp_route.h"
#include "transport/generated_files.h"
#include "transport/retrieval.h"
#include "transport/transport_messages.h"

namespace drovik::transport {
namespace {

using test::PrinterSimulator;
using test::PrinterSimulatorOptions;
using test::readFile;

PrinterSimulatorOptions printerWith(std::string greeting) {
  PrinterSimulatorOptions options;
  options.greeting = std::move(greeting);
  return options;
}

class FtpPrinter : public ::testing::Test {
 protected:
  RetrievalOutcome retrieve(const Ipv4Octets& address, const std::string& password) {
    RunControl control;
    RetrievalOutcome outcome = retrievePrinterImages(dir.path(), address, password, control);
    // Whatever happened, the password is gone from the disk and never was readable by others.
    const auto script = dir / std::string(kFtpScriptName);
    struct stat info {};
    EXPECT_EQ(::stat(script.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(info.st_size, 0);
    EXPECT_EQ(readFile(dir / std::string(kFtpLogName)).find(password), std::string::npos);
    return outcome;
  }
  std::string log() { return readFile(dir / std::string(kFtpLogName)); }

  test::TempDir dir;
};

TEST_F(FtpPrinter, RetrievesAndDecodesASupportedPrintersImages) {
  PrinterSimulator printer(printerWith("8630-H05 FTP server ready."));
  DROVIK_START_OR_SKIP(printer);
  const RetrievalOutcome outcome = retrieve(printer.address(), "secret");
  ASSERT_TRUE(outcome.retrieved()) << log();
  EXPECT_EQ(outcome.message, kRetrievedMessage);

  ProfileModel retrieved;
  EXPECT_TRUE(
      nvram::decodeRetrievedImages(retrieved, nvram::readRetrievedImages(dir.path())).empty());
  ProfileModel expected;
  const auto all = nvram::readImageFile(DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_all_1758.bin");
  const auto nw = nvram::readImageFile(DROVIK_TEST_DATA_DIR "/corpus/nvram/rnvr_nw_13.bin");
  ASSERT_TRUE(nvram::decodeAllImage(expected, *all).isOk());
  ASSERT_TRUE(nvram::decodeNetworkImage(expected, *nw).isOk());
  EXPECT_EQ(retrieved.text.paper, expected.text.paper);
  EXPECT_EQ(retrieved.text.iface, expected.text.iface);
  EXPECT_EQ(retrieved.text.userName, expected.text.userName);
}

TEST_F(FtpPrinter, ASlowTransferIsWaitedForAndSucceeds) {
  auto options = printerWith("8630-K05");
  options.sendSeconds = 0.7;  // per file: the whole retrieval takes well over a second
  PrinterSimulator printer(options);
  DROVIK_START_OR_SKIP(printer);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(retrieve(printer.address(), "secret").retrieved()) << log();
  EXPECT_GT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(FtpPrinter, RefusesAnUnsupportedModelAndLeavesNoStaleImages) {
  // Images of an earlier retrieval must not pass for this printer's.
  test::writeFile(dir / "rnvr_all.bin", std::string(1758, '\x01'));
  PrinterSimulator printer(printerWith("8630-M01 FTP server ready."));
  DROVIK_START_OR_SKIP(printer);
  const RetrievalOutcome outcome = retrieve(printer.address(), "secret");
  EXPECT_EQ(outcome.verdict, RetrievalVerdict::UnsupportedModel);
  EXPECT_EQ(outcome.message, kUnsupportedModelMessage);
}

TEST_F(FtpPrinter, AWrongPasswordIsReportedAsSuch) {
  test::writeFile(dir / "rnvr_all.bin", std::string(1758, '\x01'));
  PrinterSimulator printer(printerWith("8630-H05"));
  DROVIK_START_OR_SKIP(printer);
  const RetrievalOutcome outcome = retrieve(printer.address(), "wrong password");
  EXPECT_EQ(outcome.verdict, RetrievalVerdict::LoginIncorrect) << log();
  EXPECT_EQ(outcome.message, kLoginIncorrectMessage);
  EXPECT_FALSE(std::filesystem::exists(dir / "rnvr_all.bin"));
}

TEST_F(FtpPrinter, NoServerAtTheAddressFailsPromptly) {
  // A previous successful log must not be judged in place of this run's.
  test::writeFile(dir / std::string(kFtpLogName),
                  "150 Open data connection.\r\n226 Data connection closed.\r\n8630-H05\r\n");
  const auto start = std::chrono::steady_clock::now();
  const RetrievalOutcome outcome = retrieve(test::randomLoopbackAddress(), "secret");
  EXPECT_EQ(outcome.verdict, RetrievalVerdict::Failed);
  EXPECT_EQ(outcome.message, kRetrievalFailedMessage);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));

  FtpRoute route(dir.path(), test::randomLoopbackAddress());
  RunControl control;
  EXPECT_EQ(route.send(std::vector<std::uint8_t>(10, 1), control).message, kNetworkFailedMessage);
}

TEST_F(FtpPrinter, SendsTheImageToThePrinter) {
  auto options = printerWith("8630-H05");
  options.password = "";  // the send script logs in without one
  PrinterSimulator printer(options);
  DROVIK_START_OR_SKIP(printer);
  std::vector<std::uint8_t> image(2955);
  for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
  FtpRoute route(dir.path(), printer.address());
  RunControl control;
  const SendOutcome outcome = route.send(image, control);
  EXPECT_TRUE(outcome.reached()) << log();
  EXPECT_EQ(outcome.message, kNetworkSentMessage);
  EXPECT_TRUE(readFile(printer.uploaded("rsic_cmd.bin")) ==
              std::string(image.begin(), image.end()));
  EXPECT_EQ(control.progress().done, image.size());
}

TEST_F(FtpPrinter, AnEmptyOrOutOfRangeAddressOrAMultiLinePasswordRunsNothing) {
  RunControl control;
  EXPECT_EQ(retrievePrinterImages(dir.path(), {0, 0, 0, 0}, "secret", control).message,
            kEnterAddressMessage);
  EXPECT_EQ(FtpRoute(dir.path(), {0, 0, 0, 0}).send({}, control).message, kEnterAddressMessage);
  // 256 is neither 0 nor another printer: refused by name, with nothing written or run.
  const std::string refused =
      "ＩＰアドレス 0.256.0.0 は使えません。\n0 から 255 までの数を4つ指定してください";
  const std::vector<std::uint8_t> image{1, 2};
  const SendOutcome send = FtpRoute(dir.path(), {0, 256, 0, 0}).send(image, control);
  EXPECT_FALSE(send.reached());
  EXPECT_EQ(send.message, refused);
  const RetrievalOutcome fetch = retrievePrinterImages(dir.path(), {0, 256, 0, 0}, "pw", control);
  EXPECT_FALSE(fetch.retrieved());
  EXPECT_EQ(fetch.message, refused);
  // A line break in the password would add commands of its own to the script.
  EXPECT_FALSE(
      retrievePrinterImages(dir.path(), {127, 0, 0, 9}, "x\nput secret", control).message.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace drovik::transport
