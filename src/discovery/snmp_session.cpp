#include "discovery/snmp_session.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

// A descriptor set holding one socket, of whatever number.
class OneSocketSet {
 public:
  OneSocketSet(const SnmpLibrary& library, int socket) : library_(library) {
    library_.fdSetInit(&set_, socket + 1);
    library_.fdSetAdd(socket, &set_);
  }
  ~OneSocketSet() { library_.fdSetCleanup(&set_); }
  OneSocketSet(const OneSocketSet&) = delete;
  OneSocketSet& operator=(const OneSocketSet&) = delete;
  netsnmp_large_fd_set* get() { return &set_; }

 private:
  const SnmpLibrary& library_;
  netsnmp_large_fd_set set_{};
};

std::string libraryProblem(const SnmpLibrary& library, const netsnmp_session& state) {
  std::string problem = library.apiErrstring(state.s_snmp_errno);
  if (state.s_errno != 0) problem += std::string(": ") + std::strerror(state.s_errno);
  return problem;
}

}  // namespace

std::unique_ptr<SnmpSession> SnmpSession::open(const SnmpLibrary& library,
                                               netsnmp_session& settings, const Ipv4Octets& address,
                                               std::uint16_t port, std::string& problem) {
  std::string peer = "udp:" + transport::dottedOctets(address) + ":" + std::to_string(port);
  settings.peername = peer.data();
  settings.flags |= SNMP_FLAGS_DONT_PROBE;
  void* handle = library.sessOpen(&settings);
  settings.peername = nullptr;
  if (!handle) {
    problem = libraryProblem(library, settings);
    return nullptr;
  }
  std::unique_ptr<SnmpSession> session(new SnmpSession(library, handle));
  // The library clears the flag once the session is open; without it, a v3 request sent before
  // the engine ID is known would probe for it synchronously.
  session->state().flags |= SNMP_FLAGS_DONT_PROBE;
  session->socket_ = session->liveSocket();
  sockaddr_in printer{};
  printer.sin_family = AF_INET;
  printer.sin_port = htons(port);
  printer.sin_addr.s_addr = htonl(static_cast<std::uint32_t>(address[0] << 24 | address[1] << 16 |
                                                             address[2] << 8 | address[3]));
  // Not connected, the session still works; it only hears of a refusal by its timeout.
  if (session->socket_ >= 0)
    (void)::connect(session->socket_, reinterpret_cast<const sockaddr*>(&printer), sizeof printer);
  return session;
}

SnmpSession::SnmpSession(const SnmpLibrary& library, void* handle)
    : library_(library), handle_(handle) {}

SnmpSession::~SnmpSession() { library_.sessClose(handle_); }

netsnmp_session& SnmpSession::state() const { return *library_.sessSession(handle_); }

SnmpSession::Sent SnmpSession::send(netsnmp_pdu* pdu, netsnmp_callback callback, void* data) {
  Sent sent;
  sent.requestId = library_.sessAsyncSend(handle_, pdu, callback, data);
  if (sent.requestId == 0) {
    sent.socketError = state().s_errno;
    sent.problem = libraryProblem(library_, state());
    library_.freePdu(pdu);
  }
  return sent;
}

int SnmpSession::liveSocket() const {
  const netsnmp_transport* transport = library_.sessTransport(handle_);
  return transport ? transport->sock : -1;
}

int SnmpSession::read() {
  if (liveSocket() < 0) return 0;
  netsnmp_session& session = state();
  session.s_snmp_errno = 0;
  session.s_errno = 0;
  OneSocketSet readable(library_, socket_);
  if (library_.sessRead(handle_, readable.get()) < 0 &&
      session.s_snmp_errno == SNMPERR_BAD_RECVFROM)
    return session.s_errno != 0 ? session.s_errno : EIO;
  return 0;
}

void SnmpSession::runTimers() { library_.sessTimeout(handle_); }

std::optional<std::chrono::microseconds> SnmpSession::timerDue() const {
  // Finding the socket closed, snmp_sess_select_info2 would close the session under us.
  if (liveSocket() < 0) return std::nullopt;
  OneSocketSet sockets(library_, socket_);
  int count = 0;
  int block = 1;
  timeval due{};
  library_.sessSelectInfo(handle_, &count, sockets.get(), &due, &block);
  if (block) return std::nullopt;
  return std::chrono::seconds(due.tv_sec) + std::chrono::microseconds(due.tv_usec);
}

}  // namespace drovik::discovery
