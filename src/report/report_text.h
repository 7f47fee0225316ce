// Accumulates a report as the settings window shows it: every line ends in CR LF.
#pragma once

#include <string>
#include <string_view>

namespace drovik {

class ReportText {
 public:
  void heading(std::string_view text) {
    text_ += text;
    text_ += kLineEnd;
  }
  // The label carries its own leading full-width space and trailing tabs.
  void item(std::string_view label, std::string_view value) {
    itemWithoutLineEnd(label, value);
    text_ += kLineEnd;
  }
  void itemWithoutLineEnd(std::string_view label, std::string_view value) {
    text_ += label;
    text_ += value;
  }
  void emptyLine() { text_ += kLineEnd; }

  std::string take() { return std::move(text_); }

 private:
  static constexpr std::string_view kLineEnd = "\r\n";
  std::string text_;
};

}  // namespace drovik
