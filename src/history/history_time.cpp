#include "history/history_time.h"

#include <cstdio>

namespace drovik::history {
namespace {

// Reads `count` digits at `at` and moves past them.
bool readNumber(std::string_view text, std::size_t& at, int count, int& value) {
  if (at + count > text.size()) return false;
  value = 0;
  for (int i = 0; i < count; ++i) {
    const char c = text[at + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  at += count;
  return true;
}

bool expect(std::string_view text, std::size_t& at, char c) {
  if (at >= text.size() || text[at] != c) return false;
  ++at;
  return true;
}

// Seconds east of UTC written as Z, ±HH, ±HHMM or ±HH:MM, up to the end of the text.
std::optional<int> readOffset(std::string_view text, std::size_t at) {
  if (text.substr(at) == "Z") return 0;
  if (at >= text.size() || (text[at] != '+' && text[at] != '-')) return std::nullopt;
  const int sign = text[at++] == '-' ? -1 : 1;
  int hours = 0;
  int minutes = 0;
  if (!readNumber(text, at, 2, hours)) return std::nullopt;
  if (at < text.size()) {
    expect(text, at, ':');
    if (!readNumber(text, at, 2, minutes)) return std::nullopt;
  }
  if (at != text.size() || hours > 23 || minutes > 59) return std::nullopt;
  return sign * (hours * 3600 + minutes * 60);
}

}  // namespace

std::string isoLocalTime(std::time_t moment) {
  std::tm local{};
  localtime_r(&moment, &local);
  char text[40];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
  const int offset = static_cast<int>(local.tm_gmtoff);
  const int east = (offset < 0 ? -offset : offset) % 86400;
  char zone[32];
  std::snprintf(zone, sizeof zone, "%c%02d:%02d", offset < 0 ? '-' : '+', east / 3600,
                east / 60 % 60);
  return std::string(text) + zone;
}

std::optional<std::int64_t> parseTimePoint(std::string_view text) {
  std::tm fields{};
  std::size_t at = 0;
  int year = 0;
  int month = 0;
  int day = 0;
  if (!readNumber(text, at, 4, year) || !expect(text, at, '-') || !readNumber(text, at, 2, month) ||
      !expect(text, at, '-') || !readNumber(text, at, 2, day))
    return std::nullopt;
  int hour = 0;
  int minute = 0;
  int second = 0;
  if (at < text.size() && (text[at] == 'T' || text[at] == ' ')) {
    ++at;
    if (!readNumber(text, at, 2, hour) || !expect(text, at, ':') ||
        !readNumber(text, at, 2, minute))
      return std::nullopt;
    if (expect(text, at, ':')) {
      if (!readNumber(text, at, 2, second)) return std::nullopt;
      if (expect(text, at, '.') || expect(text, at, ',')) {
        const std::size_t digits = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9') ++at;
        if (at == digits) return std::nullopt;
      }
    }
  }
  std::optional<int> offset;
  if (at < text.size()) {
    offset = readOffset(text, at);
    if (!offset) return std::nullopt;
  }
  if (month < 1 || month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59)
    return std::nullopt;
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  const std::time_t moment = offset ? timegm(&fields) : std::mktime(&fields);
  // Normalising moved a day that does not exist (02-30) into the next month.
  if (fields.tm_mday != day || fields.tm_mon != month - 1) return std::nullopt;
  return static_cast<std::int64_t>(moment) - offset.value_or(0);
}

}  // namespace drovik::history
