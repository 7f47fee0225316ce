#include "discovery/sweep_targets.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

std::vector<std::string> texts(const SweepAddresses& swept) {
  std::vector<std::string> out;
  for (const auto& address : swept.addresses) out.push_back(transport::dottedOctets(address));
  return out;
}

Result<SweepAddresses> parse(std::vector<std::string> words, QueueLister queues = {}) {
  return sweepAddresses(words, queues);
}

TEST(SweepTargets, FormsTogetherAreEachAddressOnceInOrder) {
  auto swept = parse({"10.0.1.9", "10.0.1.0/30", "10.0.1.2-5", "10.0.0.255-10.0.1.1", "10.0.1.9"});
  ASSERT_TRUE(swept) << swept.message();
  EXPECT_EQ(texts(*swept),
            (std::vector<std::string>{"10.0.0.255", "10.0.1.0", "10.0.1.1", "10.0.1.2", "10.0.1.3",
                                      "10.0.1.4", "10.0.1.5", "10.0.1.9"}));
  // A block named by any of its addresses is the whole block.
  EXPECT_EQ(parse({"192.168.10.77/24"})->addresses.size(), 256u);
}

TEST(SweepTargets, RefusesWhatIsNotAPrinterAddressNamingTheWord) {
  for (const char* word :
       {"printer-3", "10.0.0.300", "10.0.0.0/33", "10.0.0.9-3", "10.0.0.1-300", "224.0.0.1",
        "239.255.255.250", "255.255.255.255", "0.0.0.0", "223.255.255.0-224.0.0.5", "10.0.0.1/"}) {
    auto swept = parse({"10.0.0.1", word});
    ASSERT_FALSE(swept) << word;
    EXPECT_NE(swept.message().find(word), std::string::npos) << swept.message();
  }
}

TEST(SweepTargets, MoreThanTheBoundIsRefusedBeforeAnythingIsExpanded) {
  EXPECT_EQ(parse({"10.1.0.0/16"})->addresses.size(), kMaxSweepAddresses);
  EXPECT_FALSE(parse({"10.0.0.0/8"}));
  EXPECT_FALSE(parse({"10.0.0.0-10.255.255.255"}));
  auto two = parse({"10.1.0.0/16", "10.2.0.0/31"});
  ASSERT_FALSE(two);
  EXPECT_NE(two.message().find("65536"), std::string::npos);
  // The same block twice is still one block.
  EXPECT_TRUE(parse({"10.1.0.0/16", "10.1.0.0/16"}));
}

TEST(SweepTargets, FileOfTargetsInEitherEncodingWithComments) {
  test::TempDir dir;
  // UTF-8 with its byte order mark, CR LF, and a comment in Japanese.
  test::writeFile(dir / "floors.txt", "\xEF\xBB\xBF# 三階\r\n10.0.3.1  # 受付\r\n\r\n10.0.3.10-11\r\n");
  // Code page 932: "二階" in a comment.
  test::writeFile(dir / "sjis.txt", "10.0.2.5 # \x93\xF1\x8A\x4B\n");
  auto swept = parse({"@" + (dir / "floors.txt").string(), "@" + (dir / "sjis.txt").string()});
  ASSERT_TRUE(swept) << swept.message();
  EXPECT_EQ(texts(*swept),
            (std::vector<std::string>{"10.0.2.5", "10.0.3.1", "10.0.3.10", "10.0.3.11"}));

  test::writeFile(dir / "bad.txt", "10.0.3.1\n\n10.0.3.x\n");
  auto bad = parse({"@" + (dir / "bad.txt").string()});
  ASSERT_FALSE(bad);
  EXPECT_NE(bad.message().find("3 行目"), std::string::npos) << bad.message();
  test::writeFile(dir / "nested.txt", "@other.txt\n");
  EXPECT_FALSE(parse({"@" + (dir / "nested.txt").string()}));
  EXPECT_FALSE(parse({"@" + (dir / "missing.txt").string()}));
}

TEST(SweepTargets, SpoolerQueuesGiveTheirNetworkHosts) {
  QueueLister queues = [] {
    return Result<std::vector<QueueDevice>>{std::vector<QueueDevice>{
        {"floor1", "socket://10.0.5.1:9100"},
        {"floor2", "lpd://admin@10.0.5.2/queue"},
        {"floor3", "ipp://10.0.5.3:631/ipp/print"},
        {"named", "socket://printer.example"},
        {"usb", "usb://Maker/Model?serial=1"},
        {"again", "ftp://10.0.5.1/"},
    }};
  };
  auto swept = parse({"cups"}, queues);
  ASSERT_TRUE(swept) << swept.message();
  EXPECT_EQ(texts(*swept), (std::vector<std::string>{"10.0.5.1", "10.0.5.2", "10.0.5.3"}));
  ASSERT_EQ(swept->notes.size(), 1u);  // the host name; the USB queue has none
  EXPECT_NE(swept->notes[0].find("named"), std::string::npos);

  auto down = parse({"cups"}, [] { return Result<std::vector<QueueDevice>>{Error{"no spooler"}}; });
  ASSERT_FALSE(down);
  EXPECT_NE(down.message().find("no spooler"), std::string::npos);
}

}  // namespace
}  // namespace drovik::discovery
