#include "switch/activity_log.h"

#include <array>

#include "platform/codec.h"

namespace zorvek {

namespace {

std::string format(const char* pattern, const std::tm& time) {
  std::array<char, 64> buffer{};
  const std::size_t length = std::strftime(buffer.data(), buffer.size(), pattern, &time);
  return std::string(buffer.data(), length);
}

}  // namespace

std::string log_file_name(const std::tm& day) {
  return format("zorvek%y%m%d.log", day);
}

std::string log_time_stamp(const std::tm& time) {
  return format("%Y/%m/%d/ %H:%M:%S", time);
}

std::optional<ActivityLog> ActivityLog::open(const std::tm& day,
                                             const std::filesystem::path& folder) {
  // Binary mode: the CR LF is written by hand, the same on every platform.
  std::FILE* file = std::fopen((folder / log_file_name(day)).string().c_str(), "ab");
  if (file == nullptr) return std::nullopt;
  // Unbuffered, so that each line goes to the file in one write of its own: several running
  // copies may append to the same file, and a line must never be split between them.
  std::setvbuf(file, nullptr, _IONBF, 0);
  return ActivityLog(file);
}

void ActivityLog::write_close(std::string_view entry, const std::tm& time) {
  static const std::string word = jp("終了[");
  write_line(word, entry, time);
}

void ActivityLog::write_launch(std::string_view entry, const std::tm& time) {
  static const std::string word = jp("起動[");
  write_line(word, entry, time);
}

void ActivityLog::write_line(std::string_view word, std::string_view entry, const std::tm& time) {
  std::string line;
  line.reserve(word.size() + 24 + entry.size());
  line.append(word).append(log_time_stamp(time)).append("] ").append(entry).append("\r\n");
  std::fwrite(line.data(), 1, line.size(), file_.get());
}

}  // namespace zorvek
