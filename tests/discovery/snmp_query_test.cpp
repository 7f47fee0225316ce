// SNMP sweeps against Debian's snmpd, started by the tests on loopback addresses of its own, and
// against scripted peers: several agents at once, v2c and v3, hosts that refuse, stay silent or
// answer with garbage, a sweep cancelled while it waits.
#include "discovery/snmp_query.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "peers/printer_simulator.h"
#include "peers/scripted_snmp_peer.h"
#include "peers/snmp_agent.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

using test::ScriptedSnmpPeer;
using test::SnmpAgent;
using test::SnmpAgentOptions;
namespace wire = test::snmp_wire;

SnmpCredentials community(const std::string& name) {
  SnmpCredentials credentials;
  credentials.community = name;
  return credentials;
}

SnmpCredentials user(const std::string& name, const std::string& auth, const std::string& authPass,
                     const std::string& priv = "AES", const std::string& privPass = "") {
  SnmpCredentials credentials;
  credentials.version = SnmpCredentials::Version::V3;
  credentials.user = name;
  credentials.authProtocol = auth;
  credentials.authPassphrase = authPass;
  credentials.privProtocol = priv;
  credentials.privPassphrase = privPass;
  return credentials;
}

SnmpSweepLimits limitsOf(std::chrono::milliseconds timeout, int jobs = 64) {
  SnmpSweepLimits limits;
  limits.timeout = timeout;
  limits.jobs = jobs;
  limits.port = SnmpAgent::port();
  return limits;
}

// Real agents answer at once; the bound only matters on a machine busy with other work.
const auto kAnswerBound = std::chrono::milliseconds(5000);
const auto kSilenceBound = std::chrono::milliseconds(400);

std::vector<SnmpAnswer> sweep(const std::vector<Ipv4Octets>& addresses,
                              const SnmpCredentials& credentials, const SnmpSweepLimits& limits) {
  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  auto answers = querySnmp(addresses, credentials, limits, rate, cancel);
  EXPECT_TRUE(answers.isOk()) << answers.message();
  return answers.isOk() ? *answers : std::vector<SnmpAnswer>{};
}

SnmpAnswer sweepOne(const Ipv4Octets& address, const SnmpCredentials& credentials,
                    std::chrono::milliseconds timeout = kAnswerBound) {
  auto answers = sweep({address}, credentials, limitsOf(timeout));
  return answers.empty() ? SnmpAnswer{} : answers.front();
}

wire::Variable text(const wire::Oid& name, std::string value) {
  return {name, wire::kOctetString, std::move(value)};
}

std::string responseTo(const wire::Message& request, std::vector<wire::Variable> variables,
                       std::int32_t requestId = 0) {
  wire::Message response;
  response.community = request.community;
  response.requestId = requestId != 0 ? requestId : request.requestId;
  response.variables = std::move(variables);
  return wire::encode(response);
}

TEST(SnmpQuery, AsksSeveralAgentsAtOnceEachForItsOwnObjects) {
  SnmpAgentOptions first;
  first.sysName = "prt-east";
  first.sysLocation = "3F-east";
  first.serialNumber = "SN-4711";
  first.deviceDescr = "8630-H05 printer";
  SnmpAgentOptions second = first;
  second.sysName = "prt-west";
  second.sysLocation = "1F-west";
  second.serialNumber = "SN-0815";
  SnmpAgentOptions third = first;
  third.sysName = "prt-annex";
  third.serialNumber.reset();  // snmpd has no Printer MIB: noSuchObject
  SnmpAgent a(first), b(second), c(third);
  DROVIK_SNMP_AGENT_OR_SKIP(a);
  DROVIK_SNMP_AGENT_OR_SKIP(b);
  DROVIK_SNMP_AGENT_OR_SKIP(c);

  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  std::vector<Ipv4Octets> reported;
  const auto answers = querySnmp(
      {a.address(), b.address(), c.address()}, community("public"), limitsOf(kAnswerBound), rate,
      cancel, [&](const SnmpAnswer& answer) { reported.push_back(answer.address); });
  ASSERT_TRUE(answers.isOk()) << answers.message();
  ASSERT_EQ(answers->size(), 3u);
  EXPECT_EQ(reported.size(), 3u);
  const SnmpAnswer& east = (*answers)[0];
  EXPECT_EQ(east.address, a.address());
  EXPECT_TRUE(east.answered) << east.note;
  EXPECT_EQ(east.values.sysName, "prt-east");
  EXPECT_EQ(east.values.sysLocation, "3F-east");
  EXPECT_EQ(east.values.sysContact, "admin");
  EXPECT_EQ(east.values.sysDescr, "8630-H05 test agent");
  EXPECT_EQ(east.values.hrDeviceDescr, "8630-H05 printer");
  EXPECT_EQ(east.values.serialNumber, "SN-4711");
  EXPECT_EQ(east.note, "");
  EXPECT_EQ((*answers)[1].values.sysName, "prt-west");
  EXPECT_EQ((*answers)[1].values.sysLocation, "1F-west");
  EXPECT_EQ((*answers)[1].values.serialNumber, "SN-0815");
  const SnmpAnswer& annex = (*answers)[2];
  EXPECT_TRUE(annex.answered) << annex.note;
  EXPECT_EQ(annex.values.sysName, "prt-annex")
      << transport::dottedOctets(c.address()) << " " << transport::dottedOctets(a.address());
  EXPECT_FALSE(annex.values.serialNumber.has_value());
}

TEST(SnmpQuery, AWrongCommunityGetsNoAnswerWithinTheBound) {
  SnmpAgent agent(SnmpAgentOptions{});
  DROVIK_SNMP_AGENT_OR_SKIP(agent);
  const SnmpAnswer answer = sweepOne(agent.address(), community("not-public"), kSilenceBound);
  EXPECT_FALSE(answer.answered);
  EXPECT_EQ(answer.note, "400 ms 以内に応答がありません");
}

TEST(SnmpQuery, AsksV3UsersAtEverySecurityLevelAndProtocol) {
  SnmpAgentOptions options;
  options.sysName = "prt-secure";
  options.users = {{"alice", "SHA", "alice-auth", "AES", "alice-priv"},
                   {"bob", "MD5", "bob-auth-1", "DES", "bob-priv-1"},
                   {"carol", "SHA-256", "carol-auth", "AES", ""}};
  SnmpAgent agent(options);
  DROVIK_SNMP_AGENT_OR_SKIP(agent);
  for (const auto& credentials : {user("alice", "SHA", "alice-auth", "AES", "alice-priv"),
                                  user("bob", "MD5", "bob-auth-1", "DES", "bob-priv-1"),
                                  user("carol", "SHA-256", "carol-auth")}) {
    const SnmpAnswer answer = sweepOne(agent.address(), credentials);
    EXPECT_TRUE(answer.answered) << credentials.user << ": " << answer.note;
    EXPECT_EQ(answer.values.sysName, "prt-secure") << credentials.user;
    EXPECT_EQ(answer.note, "") << credentials.user;
  }
}

TEST(SnmpQuery, AV3HostThatNeverAnswersHoldsUpNoOther) {
  // The library's own engine-ID probe would wait out the silent host's whole timeout before
  // the agent were asked.
  SnmpAgentOptions options;
  options.users = {{"alice", "SHA", "alice-auth", "AES", "alice-priv"}};
  SnmpAgent agent(options);
  DROVIK_SNMP_AGENT_OR_SKIP(agent);
  ScriptedSnmpPeer silent;
  ASSERT_TRUE(silent.listening());
  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  const auto answers = querySnmp({silent.address(), agent.address()},
                                 user("alice", "SHA", "alice-auth", "AES", "alice-priv"),
                                 limitsOf(std::chrono::minutes(5), 2), rate, cancel,
                                 [&](const SnmpAnswer& answer) { cancel = answer.answered; });
  ASSERT_TRUE(answers.isOk());
  EXPECT_EQ((*answers)[0].note, "中止しました");
  EXPECT_TRUE((*answers)[1].answered) << (*answers)[1].note;
  EXPECT_EQ((*answers)[1].values.sysName, "printer");
}

TEST(SnmpQuery, AV3RefusalIsNamedAndACorrectedPassphraseIsUsedNextTime) {
  SnmpAgentOptions options;
  options.users = {{"alice", "SHA", "alice-auth", "AES", "alice-priv"}};
  SnmpAgent agent(options);
  DROVIK_SNMP_AGENT_OR_SKIP(agent);
  const SnmpAnswer wrong =
      sweepOne(agent.address(), user("alice", "SHA", "not-alice", "AES", "alice-priv"));
  EXPECT_TRUE(wrong.answered);
  EXPECT_FALSE(wrong.values.sysName.has_value());
  EXPECT_NE(wrong.note.find("usmStatsWrongDigests"), std::string::npos) << wrong.note;
  const SnmpAnswer stranger = sweepOne(agent.address(), user("mallory", "SHA", "mallory-auth"));
  EXPECT_NE(stranger.note.find("usmStatsUnknownUserNames"), std::string::npos) << stranger.note;
  // The library keeps a user per engine ID: the keys of the wrong passphrase must not stay.
  const SnmpAnswer right =
      sweepOne(agent.address(), user("alice", "SHA", "alice-auth", "AES", "alice-priv"));
  EXPECT_TRUE(right.answered) << right.note;
  EXPECT_EQ(right.values.sysName, "printer") << right.note;
}

TEST(SnmpQuery, CredentialsTheLibraryWouldRefuseAreAnErrorOfTheWholeSweep) {
  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  const auto refused = [&](const SnmpCredentials& credentials) {
    const auto answers =
        querySnmp({{127, 0, 6, 2}}, credentials, limitsOf(kSilenceBound), rate, cancel);
    EXPECT_FALSE(answers.isOk());
    return answers.message();
  };
  EXPECT_EQ(refused(user("alice", "SHA", "short")),
            "SNMPv3 の認証のパスフレーズが短すぎます（USM では 8 バイト以上）");
  EXPECT_EQ(refused(user("alice", "SHA", "alice-auth", "AES", "short")),
            "SNMPv3 の暗号化のパスフレーズが短すぎます（USM では 8 バイト以上）");
  EXPECT_EQ(refused(user("alice", "SHA-512", "alice-auth")),
            "SNMPv3 の認証方式「SHA-512」は使えません（SHA、SHA-256、MD5 のどれか）");
  EXPECT_EQ(refused(user("alice", "SHA", "alice-auth", "3DES", "alice-priv")),
            "SNMPv3 の暗号化方式「3DES」は使えません（AES、DES のどちらか）");
  EXPECT_EQ(refused(user("alice", "SHA", "", "AES", "alice-priv")),
            "SNMPv3 の暗号化には認証のパスフレーズも要ります");
  EXPECT_EQ(refused(user("", "SHA", "alice-auth")), "SNMPv3 の利用者名がありません");
  EXPECT_EQ(refused(community("")), "SNMP のコミュニティ名がありません");
}

TEST(SnmpQuery, HostsThatRefuseOrStaySilentAreNotAnswers) {
  ScriptedSnmpPeer silent;
  ASSERT_TRUE(silent.listening());
  const Ipv4Octets nobody = test::randomLoopbackAddress();  // nothing listens: ICMP refuses
  const auto answers = sweep({nobody, silent.address(), {127, 0, 6, 256}}, community("public"),
                             limitsOf(kSilenceBound));
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_FALSE(answers[0].answered);
  EXPECT_EQ(answers[0].note, "SNMP のポートが閉じています（ICMP で拒否されました）");
  EXPECT_FALSE(answers[1].answered);
  EXPECT_EQ(answers[1].note, "400 ms 以内に応答がありません");
  EXPECT_TRUE(silent.waitForRequests(1, std::chrono::seconds(5)));
  // An address no printer can have is never sent to.
  EXPECT_FALSE(answers[2].answered);
  EXPECT_EQ(answers[2].note, transport::checkAddress({127, 0, 6, 256}).message());
}

TEST(SnmpQuery, HostileRepliesAreDroppedAndOddValuesMadeSafe) {
  ScriptedSnmpPeer peer([](const wire::Message& request, int) {
    std::vector<ScriptedSnmpPeer::Reply> replies{
        {std::string("\x30\x82\xFF\xFF garbage"), false},
        {std::string(60000, '\x30'), false},
        {responseTo(request, {text(wire::kSysName, "from another request")}, request.requestId + 1),
         false},
        {responseTo(request, {text(wire::kSysName, "from another port")}), true},
    };
    replies.push_back(
        {responseTo(request, {text(wire::kSysDescr, std::string(1000, 'd')),
                              {wire::kSysName, wire::kInteger, wire::integerContent(42)},
                              text(wire::kSysLocation, "\x93\x8C\x8B\x9E\x96\x7B\x8E\xD0"),
                              text(wire::kSysContact,
                                   "\x1B]0;owned\x07"
                                   "admin"),
                              {wire::kHrDeviceDescr, wire::kNoSuchInstance, ""},
                              text(wire::kSerialNumber,
                                   "SN\xFF"
                                   "1"),
                              text(wire::kSerialNumber, "a second serial")}),
         false});
    return replies;
  });
  ASSERT_TRUE(peer.listening());
  const SnmpAnswer answer = sweepOne(peer.address(), community("public"));
  EXPECT_TRUE(answer.answered) << answer.note;
  EXPECT_EQ(answer.values.sysDescr, std::string(255, 'd'));
  EXPECT_FALSE(answer.values.sysName.has_value());
  EXPECT_EQ(answer.values.sysLocation, "東京本社");
  EXPECT_EQ(answer.values.sysContact, " ]0;owned admin");
  EXPECT_FALSE(answer.values.hrDeviceDescr.has_value());
  EXPECT_EQ(answer.values.serialNumber,
            "SN\xEF\xBF\xBD"
            "1");
  EXPECT_EQ(answer.note,
            "sysDescr を 255 バイトまでで切りました。sysName は文字列でないため省きました。"
            "sysLocation を Shift-JIS として読みました。"
            "sysContact の文字にならないバイトと制御文字を置き換えました。"
            "prtGeneralSerialNumber の文字にならないバイトと制御文字を置き換えました");
}

TEST(SnmpQuery, APeerThatSendsOnlyGarbageIsSettledByTheTimeout) {
  ScriptedSnmpPeer peer([](const wire::Message& request, int) {
    return std::vector<ScriptedSnmpPeer::Reply>{
        {"\x02\x01", false},
        {responseTo(request, {text(wire::kSysName, "wrong id")}, request.requestId ^ 0x5555),
         false},
        {std::string(1, '\0'), false}};
  });
  ASSERT_TRUE(peer.listening());
  const SnmpAnswer answer = sweepOne(peer.address(), community("public"), kSilenceBound);
  EXPECT_FALSE(answer.answered);
  EXPECT_FALSE(answer.values.sysName.has_value());
  EXPECT_EQ(answer.note, "400 ms 以内に応答がありません");
  EXPECT_TRUE(peer.waitForRequests(2, std::chrono::seconds(5)));  // the library's one retry
}

TEST(SnmpQuery, AVariableNamedByAnErrorIsAbsentAndTheOthersAskedAgain) {
  // An agent of SNMPv1 ways: noSuchName for the serial, which fails the whole response.
  ScriptedSnmpPeer peer([](const wire::Message& request, int) {
    wire::Message response;
    response.community = request.community;
    response.requestId = request.requestId;
    const auto serial = std::find_if(request.variables.begin(), request.variables.end(),
                                     [](const auto& v) { return v.name == wire::kSerialNumber; });
    if (serial != request.variables.end()) {
      response.errorStatus = 2;  // noSuchName
      response.errorIndex = static_cast<int>(serial - request.variables.begin()) + 1;
      response.variables = request.variables;
    } else {
      for (const auto& variable : request.variables)
        response.variables.push_back(text(variable.name, "v1"));
    }
    return std::vector<ScriptedSnmpPeer::Reply>{{wire::encode(response), false}};
  });
  ASSERT_TRUE(peer.listening());
  const SnmpAnswer answer = sweepOne(peer.address(), community("public"));
  EXPECT_TRUE(answer.answered);
  EXPECT_EQ(answer.values.sysName, "v1");
  EXPECT_EQ(answer.values.hrDeviceDescr, "v1");
  EXPECT_FALSE(answer.values.serialNumber.has_value());
  EXPECT_EQ(answer.note, "");
  ASSERT_TRUE(peer.waitForRequests(2, std::chrono::seconds(5)));
  const auto requests = peer.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].variables.size(), 6u);
  EXPECT_EQ(requests[1].variables.size(), 5u);
}

TEST(SnmpQuery, NoMoreRequestsOutstandingThanTheJobsAllow) {
  ScriptedSnmpPeer first;
  ASSERT_TRUE(first.listening());
  std::atomic<bool> firstSettled{false};
  std::atomic<bool> secondAskedTooEarly{false};
  ScriptedSnmpPeer watcher([&](const wire::Message&, int) {
    secondAskedTooEarly = !firstSettled.load();
    return std::vector<ScriptedSnmpPeer::Reply>{};
  });
  ASSERT_TRUE(watcher.listening());
  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  const auto answers =
      querySnmp({first.address(), watcher.address()}, community("public"),
                limitsOf(kSilenceBound, 1), rate, cancel, [&](const SnmpAnswer& answer) {
                  if (answer.address == first.address()) firstSettled = true;
                });
  ASSERT_TRUE(answers.isOk());
  EXPECT_TRUE(watcher.waitForRequests(1, std::chrono::seconds(5)));
  EXPECT_FALSE(secondAskedTooEarly);
}

TEST(SnmpQuery, ACancelledSweepReturnsWhatCameSoFar) {
  SnmpAgent agent(SnmpAgentOptions{});
  DROVIK_SNMP_AGENT_OR_SKIP(agent);
  ScriptedSnmpPeer silent, lateSilent, neverAsked;
  ASSERT_TRUE(silent.listening() && lateSilent.listening() && neverAsked.listening());
  RateLimiter rate(1000);
  std::atomic<bool> cancel{false};
  // Two jobs: the agent's answer frees the slot the late one takes; then both wait for hosts
  // that never answer, and the sweep is cancelled from another thread.
  std::thread canceller([&] {
    lateSilent.waitForRequests(1, std::chrono::seconds(30));
    cancel = true;
  });
  std::vector<Ipv4Octets> reported;
  const auto answers =
      querySnmp({agent.address(), silent.address(), lateSilent.address(), neverAsked.address()},
                community("public"), limitsOf(std::chrono::minutes(5), 2), rate, cancel,
                [&](const SnmpAnswer& answer) { reported.push_back(answer.address); });
  canceller.join();
  ASSERT_TRUE(answers.isOk());
  ASSERT_EQ(answers->size(), 4u);
  EXPECT_TRUE((*answers)[0].answered);
  EXPECT_EQ((*answers)[0].values.sysName, "printer");
  for (std::size_t i = 1; i < 4; ++i) {
    EXPECT_FALSE((*answers)[i].answered) << i;
    EXPECT_EQ((*answers)[i].note, "中止しました") << i;
  }
  EXPECT_EQ(reported, std::vector<Ipv4Octets>{agent.address()});
  EXPECT_FALSE(neverAsked.waitForRequests(1, std::chrono::seconds(0)));
}

}  // namespace
}  // namespace drovik::discovery
