#include "command/image_reader.h"

#include <algorithm>

#include "command/record_layout.h"

namespace drovik::image {
namespace {

// Byte by byte rather than std::equal's memcmp: every record is tested for the terminator, and
// the fuzz build's memcmp hook cost more than the rest of reading the record. Each byte's
// comparison is traced instead, which leads mutation to the terminator as well.
template <std::size_t N>
bool startsWith(std::span<const std::uint8_t> bytes, const std::array<std::uint8_t, N>& expected) {
  if (bytes.size() < N) return false;
  for (std::size_t i = 0; i < N; ++i)
    if (bytes[i] != expected[i]) return false;
  return true;
}

std::string number(std::size_t n) { return std::to_string(n); }

void checkHeader(std::span<const std::uint8_t> bytes, ImageStructure& out) {
  // A file too short for the whole command is reported as cut off, not as wrong.
  const auto lead = bytes.first(std::min(bytes.size(), layout::kLeadingCommand.size()));
  if (!std::equal(lead.begin(), lead.end(), layout::kLeadingCommand.begin()))
    out.problems.push_back({0, "先頭コマンドが " + hexBytes(layout::kLeadingCommand) +
                                   " ではありません（" + hexBytes(lead) + "）。"});
  if (bytes.size() < layout::kHeaderSize) {
    out.problems.push_back({std::nullopt, "ヘッダーが途中で切れています（ファイルは " +
                                              number(bytes.size()) + " バイト、ヘッダーは " +
                                              number(layout::kHeaderSize) + " バイト）。"});
    return;
  }
  out.headerComplete = true;
  const auto settings = bytes.subspan(layout::kLeadingCommand.size(), 3);
  if (!startsWith(settings, layout::kSettingsCommand))
    out.problems.push_back(
        {layout::kLeadingCommand.size(), "設定コマンドが " + hexBytes(layout::kSettingsCommand) +
                                             " ではありません（" + hexBytes(settings) + "）。"});
  const auto length = static_cast<std::uint16_t>(bytes[9] << 8 | bytes[10]);
  out.lengthField = length;
  const std::size_t expected = layout::kHeaderSize + length;
  if (expected != bytes.size())
    out.problems.push_back({9, "長さフィールド " + number(length) + " によるとファイルは " +
                                   number(expected) + " バイトのはずですが、" +
                                   number(bytes.size()) + " バイトあります。"});
}

}  // namespace

ImageStructure ReadImageStructure(std::span<const std::uint8_t> bytes) {
  ImageStructure out;
  out.size = bytes.size();
  if (bytes.empty()) {
    out.problems.push_back({std::nullopt, "ファイルが空です。"});
    return out;
  }
  checkHeader(bytes, out);
  if (!out.headerComplete) return out;
  if (bytes.size() > layout::kMaxImageSize)
    out.problems.push_back(
        {std::nullopt, "ファイルが " + number(bytes.size()) + " バイトあり、コマンドの最大 " +
                           number(layout::kMaxImageSize) + " バイトを超えています。"});

  out.records.reserve(
      std::min((bytes.size() - layout::kHeaderSize) / layout::kRecordSize, kMaxListedRecords));
  std::size_t offset = layout::kHeaderSize;
  while (offset < bytes.size()) {
    const auto rest = bytes.subspan(offset);
    if (startsWith(rest, layout::kTerminator)) {
      out.terminatorOffset = offset;
      offset += layout::kTerminator.size();
      if (offset < bytes.size())
        out.problems.push_back({offset, "終端の後に " + number(bytes.size() - offset) +
                                            " バイトの余分なデータがあります。"});
      return out;
    }
    const std::size_t size =
        rest[0] == layout::kNameCode ? layout::kNameRecordSize : layout::kRecordSize;
    if (rest.size() < size) {
      out.problems.push_back(
          {offset, number(size) + " バイトのレコードが途中で切れています（残り " +
                       number(rest.size()) + " バイト：" + hexBytes(rest) + "）。"});
      return out;
    }
    if (out.records.size() == kMaxListedRecords) {
      out.problems.push_back({offset, "レコードが多すぎます。ここから後の " + number(rest.size()) +
                                          " バイトは読みませんでした。"});
      return out;
    }
    out.records.push_back({offset, rest.first(size)});
    offset += size;
  }
  out.problems.push_back(
      {std::nullopt, "終端レコード " + hexBytes(layout::kTerminator) + " がありません。"});
  return out;
}

}  // namespace drovik::image
