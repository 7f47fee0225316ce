// drovik_history_append_child DIR WRITER COUNT PADDING: appends COUNT numbered records of
// WRITER to the history of DIR, one after another as fast as it can: another program writing
// the history while the test does.
#include <iostream>
#include <string>

#include "history/history_file.h"
#include "history/numbered_records.h"

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: drovik_history_append_child DIR WRITER COUNT PADDING\n";
    return 2;
  }
  const drovik::history::HistoryFile file(argv[1]);
  const int count = std::stoi(argv[3]);
  const auto padding = static_cast<std::size_t>(std::stoul(argv[4]));
  for (int i = 0; i < count; ++i) {
    if (drovik::Status s = file.append(drovik::test::numberedRecord(argv[2], i, padding)); !s) {
      std::cerr << s.message() << '\n';
      return 1;
    }
  }
  return 0;
}
