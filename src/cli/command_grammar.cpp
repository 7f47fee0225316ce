#include "cli/command_grammar.h"

#include <algorithm>
#include <optional>
#include <set>

namespace drovik::cli {

const OptionSpec kDataDirOption = {
    "--data-dir", "DIR",
    "設定ファイルのあるデータフォルダ（省略するとプログラムのフォルダか "
    "$XDG_DATA_HOME/drovik）"};

namespace {

constexpr std::string_view kHelp = "--help";
constexpr std::string_view kShortHelp = "-h";
constexpr std::string_view kVersion = "--version";

// One word of the command line that starts with "-": its name, and the value after "=".
struct OptionWord {
  std::string name;
  std::optional<std::string> value;
};

bool isOptionWord(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

OptionWord splitOption(const std::string& word) {
  if (const auto eq = word.find('='); eq != std::string::npos && word.rfind("--", 0) == 0)
    return {word.substr(0, eq), word.substr(eq + 1)};
  return {word, std::nullopt};
}

// The options a command line may hold for `command` (none: before any command is known).
std::vector<OptionSpec> acceptedBy(const Command* command) {
  std::vector<OptionSpec> accepted;
  if (!command || command->usesDataFolder) accepted.push_back(kDataDirOption);
  if (command) accepted.insert(accepted.end(), command->options.begin(), command->options.end());
  // --version stands wherever it is given, as it always has.
  for (std::string_view name : {kHelp, kShortHelp, kVersion}) accepted.push_back({name, "", ""});
  return accepted;
}

const OptionSpec* find(const std::vector<OptionSpec>& options, const std::string& name) {
  auto it = std::find_if(options.begin(), options.end(),
                         [&](const OptionSpec& option) { return option.name == name; });
  return it == options.end() ? nullptr : &*it;
}

// Options that take a value in any command: their value is never the command word.
std::set<std::string, std::less<>> valueOptions(std::span<const Command* const> commands) {
  std::set<std::string, std::less<>> names = {std::string(kDataDirOption.name)};
  for (const Command* command : commands)
    for (const OptionSpec& option : command->options)
      if (option.takesValue()) names.emplace(option.name);
  return names;
}

// Where the command word stands: the first word that is neither an option nor its value.
std::optional<std::size_t> commandWordIndex(std::span<const Command* const> commands,
                                            const std::vector<std::string>& words) {
  const auto takingValue = valueOptions(commands);
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (!isOptionWord(words[i])) return i;
    const OptionWord option = splitOption(words[i]);
    if (!option.value && takingValue.count(option.name)) ++i;
  }
  return std::nullopt;
}

Error usageError(const Command* command, const std::string& message) {
  const std::string hint =
      command ? "drovik-cli " + std::string(command->name) + " --help" : "drovik-cli --help";
  return Error{message + "詳しくは " + hint};
}

// "list の" before a message about one of list's words; nothing before any command.
std::string of(const Command* command) {
  return command ? std::string(command->name) + " の" : std::string();
}

// The operands the command wants on this command line.
std::vector<std::string_view> wantedOperands(const Command& command, const Args& args) {
  std::vector<std::string_view> wanted = command.operands;
  if (!command.replaced.byOption.empty() && args.option(std::string(command.replaced.byOption)))
    std::erase(wanted, command.replaced.operand);
  return wanted;
}

}  // namespace

Result<Invocation> parseCommandLine(std::span<const Command* const> commands,
                                    const std::vector<std::string>& words) {
  Invocation invocation;
  const auto commandIndex = commandWordIndex(commands, words);
  if (commandIndex) {
    const std::string& word = words[*commandIndex];
    auto it = std::find_if(commands.begin(), commands.end(),
                           [&](const Command* command) { return command->name == word; });
    if (it == commands.end()) return usageError(nullptr, "不明なコマンドです: " + word + "。");
    invocation.command = *it;
    invocation.args.command = word;
  }
  const Command* command = invocation.command;
  const std::vector<OptionSpec> accepted = acceptedBy(command);

  // The first mistake is reported, unless --help asks for the usage anyway.
  std::optional<Error> mistake;
  auto note = [&](const std::string& message) {
    if (!mistake) mistake = usageError(command, message);
  };
  Args& args = invocation.args;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (commandIndex && i == *commandIndex) continue;
    if (!isOptionWord(words[i])) {
      args.operands.push_back(words[i]);
      continue;
    }
    const OptionWord word = splitOption(words[i]);
    const OptionSpec* option = find(accepted, word.name);
    if (!option) {
      note(command ? std::string(command->name) + " では使えないオプションです: " + word.name + "。"
                   : "不明なオプションです: " + word.name + "。");
      if (!word.value && valueOptions(commands).count(word.name)) ++i;
    } else if (!option->takesValue()) {
      if (word.value)
        note(of(command) + "オプション " + word.name + " は値を取りません: " + words[i] + "。");
      else
        args.switches.insert(word.name);
    } else if (!word.value && i + 1 >= words.size()) {
      note(of(command) + "オプション " + word.name + " には値が必要です。");
    } else {
      std::string value = word.value ? *word.value : words[++i];
      if (!args.options.emplace(word.name, std::move(value)).second)
        note(of(command) + "オプション " + word.name + " が重複しています。");
    }
  }

  if (args.has(std::string(kHelp)) || args.has(std::string(kShortHelp))) {
    invocation.kind = command ? Invocation::Kind::CommandHelp : Invocation::Kind::Overview;
    return invocation;
  }
  if (mistake) return *mistake;
  if (args.has(std::string(kVersion))) {
    invocation.kind = Invocation::Kind::Version;
    return invocation;
  }
  if (!command) return usageError(nullptr, "コマンドを指定してください。");
  const std::vector<std::string_view> wanted = wantedOperands(*command, args);
  if (args.operands.size() < wanted.size())
    return usageError(command, of(command) + "引数 " + std::string(wanted[args.operands.size()]) +
                                   " がありません。");
  // An operand written "NAME..." takes every word left.
  const bool lastRepeats = !wanted.empty() && wanted.back().ends_with("...");
  if (args.operands.size() > wanted.size() && !lastRepeats)
    return usageError(command,
                      of(command) + "余分な引数です: " + args.operands[wanted.size()] + "。");
  return invocation;
}

}  // namespace drovik::cli
