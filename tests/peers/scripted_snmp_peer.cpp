#include "peers/scripted_snmp_peer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include "peers/snmp_agent.h"

namespace drovik::test {
namespace {

int boundSocket(const Ipv4Octets& address, std::uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  sockaddr_in where{};
  where.sin_family = AF_INET;
  where.sin_port = htons(port);
  where.sin_addr.s_addr = htonl(static_cast<std::uint32_t>(address[0] << 24 | address[1] << 16 |
                                                           address[2] << 8 | address[3]));
  if (fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) == 0)
    return fd;
  if (fd >= 0) ::close(fd);
  return -1;
}

}  // namespace

ScriptedSnmpPeer::ScriptedSnmpPeer(Script script) : script_(std::move(script)) {
  for (int attempt = 0; attempt < 10 && socket_ < 0; ++attempt) {
    address_ = randomSnmpAddress();
    socket_ = boundSocket(address_, SnmpAgent::port());
  }
  if (socket_ < 0) return;
  otherSocket_ = boundSocket(address_, 0);
  stop_ = ::eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this] { serve(); });
}

ScriptedSnmpPeer::~ScriptedSnmpPeer() {
  if (thread_.joinable()) {
    const std::uint64_t one = 1;
    if (::write(stop_, &one, sizeof one) == sizeof one)
      thread_.join();
    else
      thread_.detach();  // cannot happen with an eventfd; never leave it joinable
  }
  for (const int fd : {socket_, otherSocket_, stop_})
    if (fd >= 0) ::close(fd);
}

bool ScriptedSnmpPeer::waitForRequests(int count, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return datagrams_ >= count; });
}

std::vector<snmp_wire::Message> ScriptedSnmpPeer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void ScriptedSnmpPeer::serve() {
  std::string buffer(65536, '\0');
  while (true) {
    pollfd ready[2] = {{socket_, POLLIN, 0}, {stop_, POLLIN, 0}};
    if (::poll(ready, 2, -1) < 0 || ready[1].revents != 0) return;
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(socket_, buffer.data(), buffer.size(), 0,
                                 reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n < 0) continue;
    const auto request =
        snmp_wire::decode(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
    int number = 0;
    {
      std::lock_guard lock(mutex_);
      number = datagrams_ + 1;
    }
    if (request && script_) {
      for (const Reply& reply : script_(*request, number)) {
        const int fd = reply.fromOtherPort ? otherSocket_ : socket_;
        if (::sendto(fd, reply.datagram.data(), reply.datagram.size(), 0,
                     reinterpret_cast<const sockaddr*>(&from), fromLength) < 0)
          continue;  // a datagram too large for loopback is the script's business
      }
    }
    // Counted once answered: a test that waits for the count sees what the script did.
    {
      std::lock_guard lock(mutex_);
      datagrams_ = number;
      if (request) requests_.push_back(*request);
    }
    arrived_.notify_all();
  }
}

}  // namespace drovik::test
