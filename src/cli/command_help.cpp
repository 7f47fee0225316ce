// The usage texts, written from the commands' declarations.
#include <algorithm>

#include "cli/command_grammar.h"

namespace drovik::cli {

namespace {

constexpr std::string_view kCommonExitStatuses =
    "  0  成功\n"
    "  1  失敗（何も変更していません）\n"
    "  2  コマンドラインの誤り（何も変更していません）\n"
    "  3  設定ファイルは変更しましたが、結果を出力できませんでした\n";

std::string withValue(const OptionSpec& option) {
  std::string text(option.name);
  if (option.takesValue()) text.append(" ").append(option.value);
  return text;
}

using OptionRow = std::pair<std::string, std::string_view>;

// The options section: each option with its value, then its help in one column.
std::string optionTable(const std::vector<OptionRow>& rows) {
  std::size_t width = 0;
  for (const auto& row : rows) width = std::max(width, row.first.size());
  std::string text = "\nオプション:\n";
  for (const auto& [left, help] : rows)
    text.append("  ").append(left).append(width + 2 - left.size(), ' ').append(help).append("\n");
  return text;
}

// One synopsis: `replacing` shows the form in which the replacing option stands for an operand.
std::string synopsis(const Command& command, bool replacing) {
  std::string line = "drovik-cli ";
  if (command.usesDataFolder) line += "[" + withValue(kDataDirOption) + "] ";
  line += command.name;
  for (std::string_view operand : command.operands)
    if (!replacing || operand != command.replaced.operand) line.append(" ").append(operand);
  bool inChoice = false;
  for (const OptionSpec& option : command.options) {
    const bool isReplacing = option.name == command.replaced.byOption;
    if (isReplacing && !replacing) continue;
    const bool choice = option.presence == Presence::OneOf;
    line += choice && inChoice ? " | " : " ";
    inChoice = choice;
    if (option.presence == Presence::Optional && !isReplacing)
      line += "[" + withValue(option) + "]";
    else
      line += withValue(option);
  }
  return line;
}

}  // namespace

std::vector<std::string> synopsisOf(const Command& command) {
  std::vector<std::string> lines = {synopsis(command, false)};
  if (!command.replaced.byOption.empty()) lines.push_back(synopsis(command, true));
  return lines;
}

std::string commandHelp(const Command& command) {
  std::string text = "使い方:\n";
  for (const std::string& line : synopsisOf(command)) text += "  " + line + "\n";
  text += command.notes;

  std::vector<OptionRow> rows;
  if (command.usesDataFolder) rows.emplace_back(withValue(kDataDirOption), kDataDirOption.help);
  for (const OptionSpec& option : command.options)
    rows.emplace_back(withValue(option), option.help);
  rows.emplace_back("-h, --help", "この使い方を表示して終了します");
  text += optionTable(rows);

  text += "\n終了ステータス:\n";
  text += command.exitStatuses.empty() ? kCommonExitStatuses : command.exitStatuses;
  return text;
}

std::string overviewHelp(std::span<const Command* const> commands) {
  std::string text = "使い方:\n";
  for (const Command* command : commands) {
    for (const std::string& line : synopsisOf(*command)) text += "  " + line + "\n";
    text += command->notes;
  }
  text +=
      "  drovik-cli --help | --version\n"
      "  drovik-cli COMMAND --help  （そのコマンドだけの使い方）\n";
  text += optionTable({{withValue(kDataDirOption), kDataDirOption.help},
                       {"-h, --help", "使い方を表示して終了します"},
                       {"--version", "バージョンを表示して終了します"}});
  text += "\n終了ステータス:\n";
  text += kCommonExitStatuses;
  for (const Command* command : commands) text += command->overviewExitStatus;
  return text;
}

}  // namespace drovik::cli
