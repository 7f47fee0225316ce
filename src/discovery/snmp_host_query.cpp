#include "discovery/snmp_host_query.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>
#include <utility>

#include "discovery/snmp_text.h"

namespace drovik::discovery {
namespace {

// RFC 3411 bounds an engine ID to 5..32 bytes; a shorter one is still used, a longer refused.
constexpr std::size_t kMaxEngineId = 32;
// More variables than asked for come only from a hostile agent.
constexpr int kMaxVariables = 64;

std::string joined(const std::string& first, const std::vector<std::string>& rest) {
  std::string text = first;
  for (const std::string& part : rest) text += (text.empty() ? "" : "。") + part;
  return text;
}

std::string unreachableNote(int error) {
  if (error == ECONNREFUSED) return "SNMP のポートが閉じています（ICMP で拒否されました）";
  return std::string("届きません（") + std::strerror(error) + "）";
}

bool isNotInTimeWindow(const netsnmp_variable_list* variables) {
  static const std::vector<oid> kNotInTimeWindows{1, 3, 6, 1, 6, 3, 15, 1, 1, 2, 0};
  return variables && variables->name && variables->name_length == kNotInTimeWindows.size() &&
         std::equal(kNotInTimeWindows.begin(), kNotInTimeWindows.end(), variables->name);
}

}  // namespace

SnmpHostQuery::SnmpHostQuery(const SnmpLibrary& library, const SnmpSecurity& security,
                             SweepUsers& users, const Ipv4Octets& address, std::uint16_t port,
                             std::chrono::milliseconds timeout)
    : library_(library), security_(security), users_(users), port_(port), timeout_(timeout) {
  answer_.address = address;
  for (const SnmpObject& object : snmpObjects()) wanted_.push_back(&object);
}

SnmpHostQuery::~SnmpHostQuery() { closeSession(); }

void SnmpHostQuery::start() {
  deadline_ = Clock::now() + timeout_;
  step_ = security_.version == SNMP_VERSION_3 ? Step::Probe : Step::Get;
  if (!openSession()) return;
  step_ == Step::Probe ? sendProbe() : sendGet();
  afterLibraryCall();
}

int SnmpHostQuery::socket() const { return session_ ? session_->socket() : -1; }

void SnmpHostQuery::onReadable() {
  if (!session_) return;
  if (const int error = session_->read(); error != 0 && !settled_)
    settle(false, unreachableNote(error));
  afterLibraryCall();
}

void SnmpHostQuery::onTime(Clock::time_point now) {
  if (session_) session_->runTimers();
  if (!settled_ && now >= deadline_) settle(false, timedOutNote());
  afterLibraryCall();
}

SnmpHostQuery::Clock::time_point SnmpHostQuery::nextLook(Clock::time_point now) const {
  Clock::time_point next = deadline_;
  if (session_)
    if (const auto due = session_->timerDue()) next = std::min(next, now + *due);
  return next;
}

void SnmpHostQuery::abandon(const std::string& note) {
  closeSession();
  if (!settled_) answer_.note = joined(note, remarks_);
}

bool SnmpHostQuery::openSession() {
  netsnmp_session settings;
  library_.sessInit(&settings);
  if (step_ == Step::Probe) {
    settings.version = SNMP_VERSION_3;
    settings.securityModel = SNMP_SEC_MODEL_USM;
    settings.securityLevel = SNMP_SEC_LEVEL_NOAUTH;
  } else {
    security_.applyTo(settings);
    if (!engineId_.empty()) {
      settings.securityEngineID = reinterpret_cast<u_char*>(engineId_.data());
      settings.securityEngineIDLen = engineId_.size();
    }
  }
  // The library's own retry comes halfway, so that the two tries fit in what is left.
  const auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline_ - Clock::now());
  settings.timeout = std::max<long>(static_cast<long>(left.count() / 2), 1000);
  settings.retries = 1;
  std::string problem;
  session_ = SnmpSession::open(library_, settings, answer_.address, port_, problem);
  if (!session_) settle(false, "SNMP のセッションを開けません（" + problem + "）");
  return session_ != nullptr;
}

void SnmpHostQuery::send(netsnmp_pdu* pdu) {
  if (!pdu) return settle(false, "SNMP の要求を作れません");
  const SnmpSession::Sent sent = session_->send(pdu, &SnmpHostQuery::onEvent, this);
  if (sent.requestId != 0) {
    waiting_ = true;
  } else if (sent.socketError != 0) {
    settle(false, unreachableNote(sent.socketError));
  } else {
    settle(false, "送信できません（" + sent.problem + "）");
  }
}

void SnmpHostQuery::sendProbe() {
  // An empty GET from no user: the agent answers with a report that names its engine ID and
  // carries its boots and time, which the library keeps for the authenticated GET.
  netsnmp_pdu* pdu = library_.pduCreate(SNMP_MSG_GET);
  if (pdu) {
    pdu->version = SNMP_VERSION_3;
    pdu->securityName = ::strdup("");  // freed with the PDU
    pdu->securityNameLen = 0;
    pdu->securityLevel = SNMP_SEC_LEVEL_NOAUTH;
    pdu->securityModel = SNMP_SEC_MODEL_USM;
  }
  send(pdu);
}

void SnmpHostQuery::sendGet() {
  netsnmp_pdu* pdu = library_.pduCreate(SNMP_MSG_GET);
  for (const SnmpObject* object : wanted_)
    if (pdu) library_.addNullVar(pdu, object->number.data(), object->number.size());
  send(pdu);
}

int SnmpHostQuery::onEvent(int op, netsnmp_session*, int, netsnmp_pdu* pdu, void* self) {
  static_cast<SnmpHostQuery*>(self)->handle(op, pdu);
  return 1;
}

void SnmpHostQuery::handle(int op, netsnmp_pdu* pdu) {
  // Inside the library's call: only the answer is taken here; sessions change afterwards. The
  // session is this query's and has one request at a time, which the library matched by its
  // message ID: a report to an encrypted request need not carry the request ID.
  if (settled_ || !waiting_) return;
  switch (op) {
    case NETSNMP_CALLBACK_OP_RECEIVED_MESSAGE:
      waiting_ = false;
      if (!pdu) return settle(false, "応答を読めません");
      return step_ == Step::Probe ? onProbeReply(*pdu) : onGetReply(*pdu);
    case NETSNMP_CALLBACK_OP_TIMED_OUT:
      waiting_ = false;
      return settle(false, timedOutNote());
    case NETSNMP_CALLBACK_OP_SEND_FAILED:
      waiting_ = false;
      return settle(false, "再送できません");
    default:
      return;  // a resend, or a security error the report that follows explains
  }
}

void SnmpHostQuery::onProbeReply(const netsnmp_pdu& pdu) {
  if (!pdu.securityEngineID || pdu.securityEngineIDLen == 0 ||
      pdu.securityEngineIDLen > kMaxEngineId)
    return settle(true, "SNMPv3 のエンジン ID を返しませんでした");
  engineId_.assign(reinterpret_cast<const char*>(pdu.securityEngineID), pdu.securityEngineIDLen);
  next_ = Next::AskWithEngine;
}

void SnmpHostQuery::onGetReply(const netsnmp_pdu& pdu) {
  answer_.answered = true;
  if (pdu.command == SNMP_MSG_REPORT) {
    // Out of the time window once: the library has taken the agent's clock from the
    // authenticated report, and the same GET goes again.
    if (isNotInTimeWindow(pdu.variables) && !resentForTime_) {
      resentForTime_ = true;
      next_ = Next::AskAgain;
      return;
    }
    return settle(true, reportNote(pdu.variables));
  }
  if (pdu.errstat == SNMP_ERR_NOERROR) {
    takeValues(pdu.variables);
    return settle(true, "");
  }
  const auto index = pdu.errindex;
  if (index < 1 || index > static_cast<long>(wanted_.size()))
    return settle(true, "エラーの応答です（" + errorStatusName(pdu.errstat) + "）");
  // One variable named (noSuchName from an agent of SNMPv1 ways, or another error): that value
  // is absent, and the others are asked for again, as such a response carries none of them.
  const SnmpObject* failed = wanted_[static_cast<std::size_t>(index - 1)];
  if (pdu.errstat != SNMP_ERR_NOSUCHNAME)
    remarks_.push_back(std::string(failed->name) + " はエラー（" + errorStatusName(pdu.errstat) +
                       "）のため省きました");
  wanted_.erase(wanted_.begin() + (index - 1));
  if (wanted_.empty()) return settle(true, "");
  next_ = Next::AskAgain;
}

void SnmpHostQuery::takeValues(const netsnmp_variable_list* variables) {
  int seen = 0;
  for (const netsnmp_variable_list* variable = variables; variable && seen < kMaxVariables;
       variable = variable->next_variable, ++seen) {
    if (!variable->name) continue;
    const auto asked = std::find_if(wanted_.begin(), wanted_.end(), [&](const SnmpObject* object) {
      return object->number.size() == variable->name_length &&
             std::equal(object->number.begin(), object->number.end(), variable->name);
    });
    if (asked == wanted_.end()) continue;  // not asked for, or already taken
    const SnmpObject& object = **asked;
    wanted_.erase(asked);
    switch (variable->type) {
      case ASN_OCTET_STR: {
        const std::string_view bytes =
            variable->val.string
                ? std::string_view(reinterpret_cast<const char*>(variable->val.string),
                                   variable->val_len)
                : std::string_view();
        SnmpText text = snmpText(bytes);
        const std::string name = object.name;
        if (text.fromCp932) remarks_.push_back(name + " を Shift-JIS として読みました");
        if (text.repaired)
          remarks_.push_back(name + " の文字にならないバイトと制御文字を置き換えました");
        if (text.cut)
          remarks_.push_back(name + " を " + std::to_string(kSnmpTextBytes) +
                             " バイトまでで切りました");
        answer_.values.*object.value = std::move(text.text);
        break;
      }
      case SNMP_NOSUCHOBJECT:
      case SNMP_NOSUCHINSTANCE:
      case SNMP_ENDOFMIBVIEW:
      case ASN_NULL:
        break;  // the printer does not have it
      default:
        remarks_.push_back(std::string(object.name) + " は文字列でないため省きました");
        break;
    }
  }
}

void SnmpHostQuery::afterLibraryCall() {
  const Next next = std::exchange(next_, Next::Nothing);
  if (!settled_ && next == Next::AskWithEngine) {
    closeSession();
    step_ = Step::Get;
    users_.claim(engineId_);
    if (openSession()) sendGet();
  } else if (!settled_ && next == Next::AskAgain) {
    sendGet();
  }
  if (settled_) closeSession();
}

void SnmpHostQuery::closeSession() {
  // The library may call back for what is still outstanding as it closes: nothing is.
  waiting_ = false;
  session_.reset();
}

void SnmpHostQuery::settle(bool answered, const std::string& note) {
  settled_ = true;
  waiting_ = false;
  answer_.answered = answer_.answered || answered;
  answer_.note = joined(note, remarks_);
}

std::string SnmpHostQuery::timedOutNote() const {
  const std::string waited = std::to_string(timeout_.count()) + " ms 以内に応答がありません";
  if (step_ == Step::Get && !engineId_.empty())
    return "SNMPv3 のエンジン ID は返りましたが、" + waited;
  return waited;
}

}  // namespace drovik::discovery
