// Saving and loading one environment of 1000 entries in a joutai.INI of about 1 MB, against the
// least any store could do with that file: copy it (read it whole, write it whole), or read it.
// A save must also survive a power cut, so it is compared as well with a copy made to last the
// same way (flushed, renamed into place). Prints one "BENCH <name> <ratio> <target>" line per
// comparison, then the times behind them.
//   store_bench [runs]
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/environment_store.h"

namespace {

using zorvek::EnvironmentLists;

std::string entry(int env, int i, char kind) {
  // Long enough to be a realistic path, with some double-byte text (CP932 "メモ").
  return "/home/user/work/project-" + std::to_string(env) + "/\x83\x81\x83\x82/" + kind + "-" +
         std::to_string(i) + "-document.txt";
}

EnvironmentLists lists(int env, int count, char version) {
  EnvironmentLists l;
  for (int i = 0; i < count / 2; ++i) l.kill.push_back(entry(env, i, 'k') + version);
  for (int i = 0; i < count - count / 2; ++i) l.exe.push_back(entry(env, i, 'e') + version);
  return l;
}

std::string slurp(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  std::string out(static_cast<std::size_t>(lseek(fd, 0, SEEK_END)), '\0');
  if (pread(fd, out.data(), out.size(), 0) != static_cast<ssize_t>(out.size())) {
    throw std::runtime_error("short read");
  }
  close(fd);
  return out;
}

// Copying the file: the floor for any save that rewrites it. With durable, the copy is also
// made to last as a save is (flushed, renamed into place, folder flushed).
void copy(const std::string& from, const std::string& to, bool durable) {
  const std::string bytes = slurp(from);
  const std::string temp = durable ? to + ".tmp" : to;
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
    throw std::runtime_error("cannot write " + temp);
  }
  if (durable) {
    fsync(fd);
    close(fd);
    rename(temp.c_str(), to.c_str());
    const int dir = open(std::filesystem::path(to).parent_path().c_str(), O_RDONLY | O_DIRECTORY);
    fsync(dir);
    close(dir);
  } else {
    close(fd);
  }
}

double median_ms(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double time_ms(const std::function<void()>& f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
  std::string folder = (std::filesystem::temp_directory_path() / "zorvek-bench.XXXXXX").string();
  if (!mkdtemp(folder.data())) return 1;
  const std::string path = folder + "/joutai.INI";
  const std::string copy_path = folder + "/copy.INI";

  zorvek::IniFile ini(path);
  ini.update([](zorvek::IniDocument& doc) {
    doc.set_value("Zorveksystem", "form_width", "641");
    // About 1 MB: many environments of 60 entries, the measured one in the middle.
    for (int env = 0; env < 270; ++env) {
      const std::string name = "env" + std::to_string(env);
      const EnvironmentLists l = env == 135 ? lists(env, 1000, '1') : lists(env, 60, '0');
      zorvek::write_list(doc, name, zorvek::kKillPrefix, l.kill);
      zorvek::write_list(doc, name, zorvek::kExePrefix, l.exe);
    }
  });
  const EnvironmentLists versions[] = {lists(135, 1000, '2'), lists(135, 1000, '1')};

  // Each pair is timed in turns, the order swapped every run, so that neither side finds the
  // caches warmed by the other more often.
  std::vector<double> save, plain_copy, durable_copy, load, read;
  for (int run = 0; run < runs; ++run) {
    const auto time_save = [&] {
      save.push_back(time_ms([&] { zorvek::save_environment(ini, "env135", versions[run % 2]); }));
    };
    const auto time_copies = [&] {
      durable_copy.push_back(time_ms([&] { copy(path, copy_path, true); }));
      plain_copy.push_back(time_ms([&] { copy(path, copy_path, false); }));
    };
    if (run % 2) {
      time_save();
      time_copies();
    } else {
      time_copies();
      time_save();
    }
  }
  for (int run = 0; run < runs; ++run) {
    const auto time_load = [&] {
      load.push_back(time_ms([&] {
        if (zorvek::load_environment(ini, "env135").exe.size() != 500) {
          throw std::logic_error("load");
        }
      }));
    };
    const auto time_read = [&] { read.push_back(time_ms([&] { slurp(path); })); };
    if (run % 2) {
      time_load();
      time_read();
    } else {
      time_read();
      time_load();
    }
  }
  const double file_kb = static_cast<double>(std::filesystem::file_size(path)) / 1024;
  std::filesystem::remove_all(folder);

  // The ratio of each pair timed side by side, so that a slower spell of the machine, which
  // both sides of a pair share, does not move it; then the median of those.
  const auto median_ratio = [](const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> ratios;
    for (std::size_t i = 0; i < a.size(); ++i) ratios.push_back(a[i] / b[i]);
    return median_ms(ratios);
  };
  const double s = median_ms(save), dc = median_ms(durable_copy), pc = median_ms(plain_copy);
  const double l = median_ms(load), r = median_ms(read);
  std::printf("BENCH save-1000-vs-copy %.2f <=3\n", median_ratio(save, plain_copy));
  std::printf("BENCH save-1000-vs-durable-copy %.2f <=3\n", median_ratio(save, durable_copy));
  std::printf("BENCH load-1000-vs-copy %.2f <=3\n", median_ratio(load, read));
  std::printf(
      "# file %.0f KiB, median of %d runs: save %.3f ms, plain copy %.3f ms, durable copy "
      "%.3f ms, load %.3f ms, read %.3f ms\n",
      file_kb, runs, s, pc, dc, l, r);
  return 0;
}
