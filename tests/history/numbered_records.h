// Records that name their writer and their place in its sequence, padded past a memory page,
// so that a reader can tell a record torn, lost, doubled or mixed with another.
#pragma once

#include <cstddef>
#include <string>

#include "history/history_record.h"

namespace drovik::test {

inline history::Record numberedRecord(const std::string& writer, int number, std::size_t padding) {
  history::Record record;
  record.time = "2024-04-01T09:30:00+09:00";
  record.user = "tester";
  record.host = "host";
  record.program = "drovik_tests";
  record.operation = "send";
  record.profile = writer;
  record.target = "cups:Q";
  record.outcome = "ok";
  record.message = std::to_string(number) + " " + std::string(padding, 'x') + " 送信済";
  return record;
}

// The number, when the record is whole.
inline int numberOf(const history::Record& record) {
  const std::size_t space = record.message.find(' ');
  if (space == std::string::npos || !record.message.ends_with(" 送信済")) return -1;
  return std::stoi(record.message.substr(0, space));
}

}  // namespace drovik::test
