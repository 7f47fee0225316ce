#include "discovery/greeting_probe.h"

#include <gtest/gtest.h>

#include "discovery/printer_model.h"
#include "peers/loopback_listener.h"
#include "peers/scripted_greeter.h"

namespace drovik::discovery {
namespace {

using test::ScriptedGreeter;
using namespace std::chrono_literals;

const std::atomic<bool> kGoOn{false};

Greeting probe(const ScriptedGreeter& peer, std::chrono::milliseconds timeout = 5s) {
  EXPECT_TRUE(peer.listening());
  return probeGreeting(peer.address(), static_cast<std::uint16_t>(peer.port()), timeout, kGoOn);
}

TEST(GreetingReply, SingleAndMultiLineRepliesEndWhereFtpSays) {
  auto one = readGreetingReply("220 8630-H05 FTP server ready.\r\n");
  EXPECT_TRUE(one.complete);
  EXPECT_EQ(one.code, "220");
  EXPECT_EQ(one.lines, std::vector<std::string>{"220 8630-H05 FTP server ready."});

  // "220-" opens the reply, a line of another code does not end it, "220 " does.
  auto open = readGreetingReply("220-Welcome\r\n 221 not the end\r\n221 nor this\r\n");
  EXPECT_FALSE(open.complete);
  auto closed = readGreetingReply("220-Welcome\r\n221 nor this\r\n220 8630-M ready\r\n");
  EXPECT_TRUE(closed.complete);
  EXPECT_EQ(closed.lines.size(), 3u);
  EXPECT_EQ(modelIn(Greeting{Greeting::Outcome::Greeted, "220", closed.lines, ""}.text()).kind,
            PrinterModel::Kind::New);

  // Not FTP at all: the first line is all there is.
  auto other = readGreetingReply("SSH-2.0-OpenSSH\r\n");
  EXPECT_TRUE(other.complete);
  EXPECT_EQ(other.code, "");
}

TEST(GreetingReply, BytesThatAreNotTextAreShownAsQuestionMarksWithANote) {
  auto binary = readGreetingReply(std::string("220 \x01\x02\xFF\xFE ready\x1B[2J\r\n", 20));
  EXPECT_TRUE(binary.complete);
  ASSERT_EQ(binary.lines.size(), 1u);
  EXPECT_EQ(binary.lines[0].find_first_of("\x01\x02\x1B"), std::string::npos);
  EXPECT_NE(binary.note.find("?"), std::string::npos);
  // Code page 932 text is read as such: "プリンタ".
  auto sjis = readGreetingReply("220 \x83\x76\x83\x8A\x83\x93\x83\x5E\r\n");
  EXPECT_EQ(sjis.lines[0], "220 プリンタ");
  EXPECT_TRUE(sjis.note.empty());
}

TEST(PrinterModel, OldModelsAreFoundFirstAndInTheRetrievalsOrder) {
  EXPECT_EQ(modelIn("220 8630-K05 ready").name, "8630-K05");
  EXPECT_EQ(modelIn("220 8630-J05 (8630-H05 compatible)").name, "8630-H05");
  EXPECT_EQ(modelIn("220 8630-M ready").kind, PrinterModel::Kind::New);
  EXPECT_EQ(modelIn("220 8630-M (was 8630-G05)").name, "8630-G05");
  EXPECT_EQ(modelIn("220 ProFTPD").kind, PrinterModel::Kind::Other);
  EXPECT_EQ(modelIn("").kind, PrinterModel::Kind::Unknown);
}

TEST(GreetingProbe, ReadsTheGreetingSendsOnlyQuitAndCloses) {
  ScriptedGreeter printer("220-Printer\r\n220 8630-G05 FTP server ready.\r\n",
                          ScriptedGreeter::After::Stall);
  const Greeting greeting = probe(printer);
  ASSERT_EQ(greeting.outcome, Greeting::Outcome::Greeted) << greeting.note;
  EXPECT_EQ(greeting.text(), "220-Printer 220 8630-G05 FTP server ready.");
  EXPECT_TRUE(greeting.note.empty());
  ASSERT_TRUE(printer.waitForReceived("QUIT\r\n"));
  EXPECT_EQ(printer.received(), "QUIT\r\n");  // no user, no password, nothing else
}

TEST(GreetingProbe, HostileGreetingsAreCutOrAbandonedWithANote) {
  // A megabyte on one line.
  ScriptedGreeter huge("220 " + std::string(1 << 20, 'A') + "\r\n", ScriptedGreeter::After::Close);
  const Greeting cut = probe(huge);
  EXPECT_EQ(cut.outcome, Greeting::Outcome::Greeted);
  ASSERT_EQ(cut.lines.size(), 1u);
  EXPECT_LE(cut.lines[0].size(), kMaxGreetingBytes);
  EXPECT_NE(cut.note.find("打ち切りました"), std::string::npos);

  // A reply of many lines that never ends.
  ScriptedGreeter endless("220-more to come\r\n", ScriptedGreeter::After::Endless);
  const Greeting never = probe(endless);
  EXPECT_EQ(never.outcome, Greeting::Outcome::Greeted);
  EXPECT_NE(never.note.find("打ち切りました"), std::string::npos);
  EXPECT_EQ(endless.received(), "");  // an unfinished reply gets no QUIT either

  // One byte, then silence until the bound.
  ScriptedGreeter stalled("2", ScriptedGreeter::After::Stall);
  const Greeting half = probe(stalled, 300ms);
  EXPECT_EQ(half.outcome, Greeting::Outcome::Greeted);
  EXPECT_NE(half.note.find("途中で止まりました"), std::string::npos);

  // Half a line, then the connection closed.
  ScriptedGreeter hungUp("220 8630-H", ScriptedGreeter::After::Close);
  EXPECT_NE(probe(hungUp).note.find("閉じられました"), std::string::npos);
}

TEST(GreetingProbe, SilentRefusedAndCancelled) {
  // Takes the connection and never says a word.
  test::LoopbackListener mute;
  const auto port = static_cast<std::uint16_t>(mute.port());
  const Greeting silent = probeGreeting(mute.address(), port, 300ms, kGoOn);
  EXPECT_EQ(silent.outcome, Greeting::Outcome::Silent);
  EXPECT_NE(silent.note.find("挨拶がありません"), std::string::npos);

  std::uint16_t closedPort = 0;
  {
    test::LoopbackListener gone;
    closedPort = static_cast<std::uint16_t>(gone.port());
  }
  EXPECT_EQ(probeGreeting({127, 0, 0, 1}, closedPort, 5s, kGoOn).outcome,
            Greeting::Outcome::Refused);

  // A cancelled sweep's probe gives up however long its bound is.
  const std::atomic<bool> cancelled{true};
  const Greeting stopped = probeGreeting(mute.address(), port, std::chrono::hours(1), cancelled);
  EXPECT_EQ(stopped.outcome, Greeting::Outcome::Silent);
  EXPECT_EQ(stopped.note, "中止しました");
}

}  // namespace
}  // namespace drovik::discovery
