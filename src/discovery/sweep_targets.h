// The addresses a sweep asks, in the forms an administrator names them: an address
// (192.168.10.21), a block (192.168.10.0/24), a range (192.168.10.20-80 or
// 192.168.10.20-192.168.11.5), @FILE (these forms one a line, # comments, UTF-8 or code page
// 932), or `cups` (the hosts of the spooler's queues whose device names a network address).
// Nothing else is ever asked: no broadcast, no multicast.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "files/status.h"
#include "model/profile_store.h"

namespace drovik::discovery {

// More addresses than this in one sweep are refused before any is asked.
inline constexpr std::size_t kMaxSweepAddresses = 65536;

// The device URIs of the spooler's queues, as "queue → URI" pairs; the CLI reads them through
// libcups, the tests give their own.
struct QueueDevice {
  std::string queue;
  std::string deviceUri;
};
using QueueLister = std::function<Result<std::vector<QueueDevice>>()>;

struct SweepAddresses {
  std::vector<Ipv4Octets> addresses;  // each once, in address order
  std::vector<std::string> notes;     // queues left out of `cups`, and why
};

// Every word's addresses together. A word that is none of the forms, a block or range that
// is reversed or reaches a multicast or reserved address, an unreadable file: refused, naming
// the word (and the file's line). More than kMaxSweepAddresses: refused.
Result<SweepAddresses> sweepAddresses(const std::vector<std::string>& words,
                                      const QueueLister& queues);

// The host of a device URI (socket://, lpd://, ipp://, ipps://, ftp://, http://) when it is
// an IPv4 address; empty otherwise.
std::string deviceUriHost(std::string_view uri);

std::uint32_t addressValue(const Ipv4Octets& address);
Ipv4Octets addressOf(std::uint32_t value);

}  // namespace drovik::discovery
