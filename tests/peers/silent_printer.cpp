#include "peers/silent_printer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "peers/printer_simulator.h"

namespace drovik::test {

SilentPrinter::SilentPrinter() {
  for (int attempt = 0; attempt < 10 && fd_ < 0; ++attempt) {
    address_ = randomLoopbackAddress();
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(21);
    where.sin_addr.s_addr = htonl(static_cast<std::uint32_t>(address_[0] << 24 | address_[1] << 16 |
                                                             address_[2] << 8 | address_[3]));
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(fd_, 16) != 0) {
      ::close(fd_);
      fd_ = -1;
    }
  }
}

SilentPrinter::~SilentPrinter() {
  if (fd_ >= 0) ::close(fd_);
}

bool SilentPrinter::hasCaller() const {
  // A connection waiting to be accepted makes the listening socket readable; it stays waiting.
  pollfd listening{fd_, POLLIN, 0};
  return fd_ >= 0 && ::poll(&listening, 1, 0) > 0 && (listening.revents & POLLIN) != 0;
}

}  // namespace drovik::test
