// The activity log: one line per window asked to close and per entry launched during a switch,
// appended to a file of the day.
#pragma once

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zorvek {

// "zorvek" + yymmdd + ".log".
std::string log_file_name(const std::tm& day);
// "yyyy/mm/dd/ hh:mm:ss", 24-hour clock.
std::string log_time_stamp(const std::tm& time);

class ActivityLog {
 public:
  // Opens the log of the given day for appending, creating it when missing. It lies in folder,
  // or in the current directory when folder is empty. Nothing when it cannot be opened.
  static std::optional<ActivityLog> open(const std::tm& day,
                                         const std::filesystem::path& folder = {});

  // Lines are CP932 and end in CR LF whatever the platform. Write errors are ignored.
  void write_close(std::string_view entry, const std::tm& time);
  void write_launch(std::string_view entry, const std::tm& time);

 private:
  struct Closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  explicit ActivityLog(std::FILE* file) : file_(file) {}
  void write_line(std::string_view word, std::string_view entry, const std::tm& time);

  std::unique_ptr<std::FILE, Closer> file_;
};

}  // namespace zorvek
