// Text values as printers send them, made safe to show: UTF-8 kept, Shift-JIS converted,
// anything else repaired, and nothing longer than the bound or able to steer a terminal.
#include "discovery/snmp_text.h"

#include <gtest/gtest.h>

#include "ini/text_codec.h"

namespace drovik::discovery {
namespace {

TEST(SnmpText, KeepsUtf8AndDropsTheEndsOfCStringsAndLines) {
  const SnmpText text = snmpText(std::string("東京本社 2F\r\n\0\0", 19));
  EXPECT_EQ(text.text, "東京本社 2F");
  EXPECT_FALSE(text.cut || text.fromCp932 || text.repaired);
}

TEST(SnmpText, ReadsShiftJisThatIsNotUtf8) {
  const SnmpText text = snmpText("\x93\x8C\x8B\x9E\x96\x7B\x8E\xD0");  // 東京本社 in CP932
  EXPECT_EQ(text.text, "東京本社");
  EXPECT_TRUE(text.fromCp932);
  EXPECT_FALSE(text.repaired);
}

TEST(SnmpText, ReplacesBytesThatAreNeitherAndControlCharacters) {
  // 0xFF is no lead byte in either encoding; ESC and the C1 CSI would steer a terminal.
  const SnmpText text = snmpText(
      "SN\xFF"
      "1\x1B[2J\tA\xC2\x9B"
      "B");
  EXPECT_EQ(text.text,
            "SN\xEF\xBF\xBD"
            "1 [2J A B");
  EXPECT_TRUE(text.repaired);
  EXPECT_FALSE(text.fromCp932);
  EXPECT_TRUE(ini::isValidUtf8(text.text));
}

TEST(SnmpText, CutsLongValuesBetweenCharacters) {
  // The bound falls inside the three bytes of あ: the whole character goes.
  const SnmpText text = snmpText(std::string(kSnmpTextBytes - 1, 'x') + "あいう");
  EXPECT_EQ(text.text, std::string(kSnmpTextBytes - 1, 'x'));
  EXPECT_TRUE(text.cut);
  const SnmpText exact = snmpText(std::string(kSnmpTextBytes, 'x'));
  EXPECT_EQ(exact.text.size(), kSnmpTextBytes);
  EXPECT_FALSE(exact.cut);
}

}  // namespace
}  // namespace drovik::discovery
