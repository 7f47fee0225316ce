#include "discovery/sweep_targets.h"

#include <charconv>
#include <set>

#include "files/read_file.h"
#include "ini/text_codec.h"
#include "transport/ipv4_address.h"

namespace drovik::discovery {
namespace {

// A file of targets is a list typed by hand: a megabyte is tens of thousands of lines.
constexpr std::uintmax_t kMaxTargetFileBytes = 1 << 20;

using AddressSet = std::set<std::uint32_t>;

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t' || text.front() == '\r'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

// 0.0.0.0/8 names no host, 224.0.0.0/4 are groups (multicast), 240.0.0.0/4 is reserved and
// ends in the broadcast address 255.255.255.255.
bool askable(std::uint32_t value) {
  const std::uint32_t first = value >> 24;
  return first != 0 && first < 224;
}

Result<std::uint32_t> addressIn(std::string_view text) {
  auto address = transport::parseAddress(text);
  if (!address) return address.error();
  return addressValue(*address);
}

Error notAskable(std::string_view word) {
  return Error{"「" + std::string(word) +
               "」には調べられないアドレス（0.x.x.x、マルチキャスト、予約済み、ブロードキャスト）"
               "が含まれます"};
}

Status addSpan(std::string_view word, std::uint32_t first, std::uint32_t last, AddressSet& into) {
  if (first > last) return Error{"範囲「" + std::string(word) + "」の終わりが始めより前です"};
  // The askable addresses are one span, 1.0.0.0 to 223.255.255.255: so are the span's ends.
  if (!askable(first) || !askable(last)) return notAskable(word);
  if (std::uint64_t{last} - first + 1 > kMaxSweepAddresses)
    return Error{"「" + std::string(word) + "」は " + std::to_string(kMaxSweepAddresses) +
                 " 件を超えます"};
  for (std::uint64_t value = first; value <= last; ++value) {
    into.insert(static_cast<std::uint32_t>(value));
    if (into.size() > kMaxSweepAddresses) break;  // refused by the caller
  }
  return {};
}

Status addBlock(std::string_view word, std::size_t slash, AddressSet& into) {
  auto base = addressIn(word.substr(0, slash));
  const std::string_view bits = word.substr(slash + 1);
  int prefix = -1;
  auto [end, ec] = std::from_chars(bits.data(), bits.data() + bits.size(), prefix);
  if (!base || ec != std::errc{} || end != bits.data() + bits.size() || prefix < 0 || prefix > 32)
    return Error{"アドレスのブロック「" + std::string(word) +
                 "」が正しくありません（例: 192.168.10.0/24）"};
  const std::uint64_t size = std::uint64_t{1} << (32 - prefix);
  if (size > kMaxSweepAddresses)
    return Error{"ブロック「" + std::string(word) + "」は " + std::to_string(size) + " 件で、" +
                 std::to_string(kMaxSweepAddresses) + " 件を超えます"};
  const auto first = static_cast<std::uint32_t>(*base & ~(size - 1));
  return addSpan(word, first, static_cast<std::uint32_t>(first + size - 1), into);
}

Status addRange(std::string_view word, std::size_t dash, AddressSet& into) {
  auto first = addressIn(word.substr(0, dash));
  const std::string_view end = word.substr(dash + 1);
  Result<std::uint32_t> last = Error{};
  if (end.find('.') != std::string_view::npos) {
    last = addressIn(end);
  } else if (first) {
    int octet = -1;
    auto [stop, ec] = std::from_chars(end.data(), end.data() + end.size(), octet);
    if (ec == std::errc{} && stop == end.data() + end.size() && octet >= 0 && octet <= 255)
      last = (*first & 0xFFFFFF00u) | static_cast<std::uint32_t>(octet);
  }
  if (!first || !last)
    return Error{"アドレスの範囲「" + std::string(word) +
                 "」が正しくありません（例: 192.168.10.20-80）"};
  return addSpan(word, *first, *last, into);
}

Status addWord(std::string_view word, AddressSet& into) {
  if (const auto slash = word.find('/'); slash != std::string_view::npos)
    return addBlock(word, slash, into);
  if (const auto dash = word.find('-'); dash != std::string_view::npos)
    return addRange(word, dash, into);
  auto address = addressIn(word);
  if (!address)
    return Error{"「" + std::string(word) +
                 "」はアドレス、ブロック、範囲、@ファイル、cups のどれでもありません"};
  if (!askable(*address)) return notAskable(word);
  into.insert(*address);
  return {};
}

std::string lineForMessage(std::string_view line) {
  return ini::isValidUtf8(line) ? std::string(line) : ini::cp932ToUtf8Lossy(line);
}

Status addFile(std::string_view word, AddressSet& into) {
  const std::filesystem::path path{std::string(word.substr(1))};
  auto bytes = readFileUpTo(path, kMaxTargetFileBytes);
  if (!bytes) return Error{"アドレスの一覧「" + path.string() + "」: " + bytes.message()};
  std::string_view text = *bytes;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    ++number;
    const auto newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    // "#" is never the second byte of a code page 932 character, so the comment is found in
    // either encoding.
    line = trimmed(line.substr(0, line.find('#')));
    if (line.empty()) continue;
    if (line.starts_with('@') || line == "cups")
      return Error{path.string() + " の " + std::to_string(number) + " 行目: 「" +
                   lineForMessage(line) + "」は一覧の中には書けません"};
    if (Status s = addWord(line, into); !s)
      return Error{path.string() + " の " + std::to_string(number) + " 行目: " + s.message()};
  }
  return {};
}

Status addQueues(const QueueLister& queues, AddressSet& into, std::vector<std::string>& notes) {
  if (!queues) return Error{"スプーラのキューを読めません"};
  auto devices = queues();
  if (!devices) return Error{"スプーラのキューを読めません: " + devices.message()};
  for (const QueueDevice& device : *devices) {
    const std::string host = deviceUriHost(device.deviceUri);
    auto address = host.empty() ? Result<std::uint32_t>{Error{}} : addressIn(host);
    if (!address || !askable(*address)) {
      // Queues on USB or a local port have no host at all.
      if (!host.empty())
        notes.push_back("キュー「" + device.queue + "」の接続先（" + device.deviceUri +
                        "）は IPv4 アドレスではないため調べません");
      continue;
    }
    into.insert(*address);
  }
  return {};
}

}  // namespace

std::uint32_t addressValue(const Ipv4Octets& address) {
  return static_cast<std::uint32_t>(address[0]) << 24 |
         static_cast<std::uint32_t>(address[1]) << 16 |
         static_cast<std::uint32_t>(address[2]) << 8 | static_cast<std::uint32_t>(address[3]);
}

Ipv4Octets addressOf(std::uint32_t value) {
  return {static_cast<int>(value >> 24), static_cast<int>((value >> 16) & 0xFF),
          static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)};
}

std::string deviceUriHost(std::string_view uri) {
  static constexpr std::string_view kSchemes[] = {"socket://", "lpd://",  "ipp://",  "ipps://",
                                                  "ftp://",    "http://", "https://"};
  for (std::string_view scheme : kSchemes) {
    if (!uri.starts_with(scheme)) continue;
    std::string_view rest = uri.substr(scheme.size());
    rest = rest.substr(0, rest.find_first_of("/?#"));
    if (const auto at = rest.rfind('@'); at != std::string_view::npos) rest.remove_prefix(at + 1);
    rest = rest.substr(0, rest.find(':'));
    return std::string(rest);
  }
  return {};
}

Result<SweepAddresses> sweepAddresses(const std::vector<std::string>& words,
                                      const QueueLister& queues) {
  AddressSet set;
  SweepAddresses out;
  for (const std::string& word : words) {
    Status added = word == "cups"          ? addQueues(queues, set, out.notes)
                   : word.starts_with('@') ? addFile(word, set)
                                           : addWord(word, set);
    if (!added) return added.error();
    if (set.size() > kMaxSweepAddresses)
      return Error{"調べるアドレスが " + std::to_string(kMaxSweepAddresses) +
                   " 件を超えます（範囲を分けて実行してください）"};
  }
  out.addresses.reserve(set.size());
  for (std::uint32_t value : set) out.addresses.push_back(addressOf(value));
  return out;
}

}  // namespace drovik::discovery
