// Runs the test_windows program: real top-level windows for desktop tests and benchmarks, and the
// close requests they receive.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace zorvek::testing {

class WindowProgram {
 public:
  using Clock = std::chrono::steady_clock;

  // Starts the program with these arguments and waits until all its windows are set up.
  explicit WindowProgram(const std::vector<std::string>& args,
                         std::chrono::seconds setup_limit = std::chrono::seconds(60)) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> argv;
    std::string program = ZORVEK_TEST_WINDOWS;
    argv.push_back(program.data());
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(a.data());
    argv.push_back(nullptr);
    const int r = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    to_child_ = in[1];
    from_child_ = out[0];
    if (r != 0) throw std::runtime_error("cannot start " + program);
    const auto deadline = Clock::now() + setup_limit;
    for (;;) {
      const std::string line = read_line(deadline);
      if (line == "ready") break;
      if (line.empty()) throw std::runtime_error("test_windows did not get ready");
      unsigned index = 0;
      unsigned long id = 0;
      if (std::sscanf(line.c_str(), "window %u %lu", &index, &id) == 2) ids_.push_back(id);
    }
  }

  ~WindowProgram() {
    if (to_child_ >= 0) close(to_child_);  // the program ends when its input closes
    if (pid_ > 0) {
      const auto deadline = Clock::now() + std::chrono::seconds(2);
      while (waitpid(pid_, nullptr, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
          kill(pid_, SIGKILL);
          waitpid(pid_, nullptr, 0);
          break;
        }
        usleep(2000);
      }
    }
    if (from_child_ >= 0) close(from_child_);
  }

  WindowProgram(const WindowProgram&) = delete;
  WindowProgram& operator=(const WindowProgram&) = delete;

  std::uint64_t id(std::size_t index) const { return ids_.at(index); }
  const std::vector<std::uint64_t>& ids() const { return ids_; }

  // Indexes of the windows that reported a close request since the last call: waits until there
  // are `count` of them or the time is up, whichever comes first.
  std::vector<int> closes(std::size_t count, std::chrono::milliseconds limit) {
    std::vector<int> out;
    const auto deadline = Clock::now() + limit;
    while (out.size() < count || (count == 0 && Clock::now() < deadline)) {
      const std::string line = read_line(deadline);
      if (line.empty()) break;
      int index = 0;
      if (std::sscanf(line.c_str(), "close %d", &index) == 1) out.push_back(index);
    }
    return out;
  }

  // True once the program has ended (its output closed) within the limit.
  bool ended(std::chrono::milliseconds limit) {
    const auto deadline = Clock::now() + limit;
    while (!eof_ && Clock::now() < deadline) read_line(deadline);
    return eof_;
  }

  void kill_now() { kill(pid_, SIGKILL); }

 private:
  // The next line, or "" at the deadline or the end of output.
  std::string read_line(Clock::time_point deadline) {
    for (;;) {
      if (const auto nl = buffer_.find('\n'); nl != std::string::npos) {
        std::string line = buffer_.substr(0, nl);
        buffer_.erase(0, nl + 1);
        return line;
      }
      if (eof_) return {};
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return {};
      pollfd fd{from_child_, POLLIN, 0};
      if (poll(&fd, 1, static_cast<int>(left)) <= 0) continue;
      char chunk[4096];
      const ssize_t n = read(from_child_, chunk, sizeof chunk);
      if (n <= 0) {
        eof_ = true;
      } else {
        buffer_.append(chunk, static_cast<std::size_t>(n));
      }
    }
  }

  pid_t pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
  bool eof_ = false;
  std::string buffer_;
  std::vector<std::uint64_t> ids_;
};

}  // namespace zorvek::testing
