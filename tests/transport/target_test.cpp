// Targets as the operator types them: each form reads back as it is written, and a text that
// names no printer is refused with what was wrong.
#include "transport/target.h"

#include <gtest/gtest.h>

namespace drovik::transport {
namespace {

TEST(Target, EveryFormReadsBackAsWritten) {
  const std::vector<Target> targets = {Target::spooler("Office_Q"),
                                       Target::network({192, 168, 0, 10}),
                                       Target::parallel(),
                                       Target::commandFile("/tmp/out.sib"),
                                       Target::commandFile("parallel"),
                                       Target::commandFile("ftp:notes.sib")};
  for (const Target& target : targets) {
    auto read = parseTarget(target.text());
    ASSERT_TRUE(read) << target.text() << ": " << read.message();
    EXPECT_EQ(*read, target) << target.text();
  }
  EXPECT_EQ(Target::network({10, 0, 0, 7}).text(), "ftp:10.0.0.7");
  EXPECT_EQ(parseTarget("PARALLEL")->kind, Target::Kind::Parallel);
  EXPECT_EQ(parseTarget("Cups:Q")->queue, "Q");
}

TEST(Target, RefusesWhatNamesNoPrinterSayingWhy) {
  const std::vector<std::pair<std::string, TargetFault>> refused = {
      {"", TargetFault::Empty},
      {"ftp:", TargetFault::Address},
      {"ftp:192.168.1.300", TargetFault::Address},
      {"ftp:0.0.0.0", TargetFault::Address},
      {"cups:", TargetFault::QueueName},
      {"cups:two words", TargetFault::QueueName},
      {"cups:a/b", TargetFault::QueueName},
      {"cups:" + std::string(kMaxQueueName + 1, 'q'), TargetFault::QueueName}};
  for (const auto& [text, why] : refused) {
    TargetFault fault = TargetFault::None;
    auto target = parseTarget(text, &fault);
    EXPECT_FALSE(target) << text;
    EXPECT_EQ(fault, why) << text;
    EXPECT_FALSE(target.message().empty()) << text;
  }
}

}  // namespace
}  // namespace drovik::transport
