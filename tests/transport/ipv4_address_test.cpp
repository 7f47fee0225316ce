// Printer addresses: text for the scripts, the empty address, and typed addresses. An octet
// outside 0..255 is refused everywhere; none wraps into another printer's address.
#include "transport/ipv4_address.h"

#include <gtest/gtest.h>

namespace drovik::transport {
namespace {

const std::string kRefusal = "は使えません。\n0 から 255 までの数を4つ指定してください";

TEST(Ipv4Address, TextRefusesWhatItCannotName) {
  EXPECT_EQ(*addressText({192, 168, 1, 20}), "192.168.1.20");
  EXPECT_EQ(*addressText({0, 0, 0, 255}), "0.0.0.255");
  // 300 and 44 (its low byte) are different printers; -1 and 256 + 1 are none.
  for (const Ipv4Octets& wrong : {Ipv4Octets{192, 168, 1, 300}, Ipv4Octets{-1, 0, 0, 1},
                                  Ipv4Octets{257, 0, 0, 1}, Ipv4Octets{1, 2, 3, 1000}}) {
    const auto text = addressText(wrong);
    ASSERT_FALSE(text) << *text;
    EXPECT_EQ(text.message(), "ＩＰアドレス " + dottedOctets(wrong) + " " + kRefusal);
    EXPECT_FALSE(checkAddress(wrong));
  }
  // The message shows the address as it was given.
  EXPECT_EQ(dottedOctets({192, 168, 1, 300}), "192.168.1.300");
  EXPECT_EQ(dottedOctets({-1, 0, 0, 1}), "-1.0.0.1");
}

TEST(Ipv4Address, OnlyFourZerosAreEmpty) {
  EXPECT_TRUE(isEmptyAddress({0, 0, 0, 0}));
  // Octets whose low byte is 0 are out of range, not "no address entered".
  EXPECT_FALSE(isEmptyAddress({256, 0, 0, 0}));
  EXPECT_FALSE(isEmptyAddress({0, 0, 0, 512}));
  EXPECT_FALSE(isEmptyAddress({0, 0, 0, 1}));
}

TEST(Ipv4Address, ParsingTakesFourDecimalOctetsUpTo255) {
  EXPECT_EQ(*parseAddress("10.0.0.255"), (Ipv4Octets{10, 0, 0, 255}));
  EXPECT_EQ(*parseAddress("0.0.0.0"), (Ipv4Octets{0, 0, 0, 0}));
  for (const char* wrong : {"192.168.1.300", "192.168.1.256", "1.2.3", "1.2.3.4.5", "1.2.3.-4",
                            "1.2.3.0004", "1..2.3", " 1.2.3.4", "1.2.3.4 ", "１.2.3.4", ""}) {
    const auto parsed = parseAddress(wrong);
    EXPECT_FALSE(parsed) << wrong;
    EXPECT_NE(parsed.message().find(wrong), std::string::npos) << wrong;
  }
}

}  // namespace
}  // namespace drovik::transport
