// GioShell against real files, with a private set of applications and file types: the launched
// "applications" are a script that records its working directory and arguments.
#include "platform/gio/gio_shell.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/codec.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

namespace fs = std::filesystem;
using testing::write_file;

// Set up once, before the first GIO call: GIO reads the XDG folders once and keeps them.
class Desktop : public ::testing::Environment {
 public:
  static fs::path root() { return root_; }

  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "zorvek-gio.XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = fs::canonical(pattern);
    for (const char* sub :
         {"home", "data/applications", "data/mime/packages", "config", "cache", "none"}) {
      fs::create_directories(root_ / sub);
    }
    setenv("HOME", (root_ / "home").c_str(), 1);
    setenv("XDG_DATA_HOME", (root_ / "data").c_str(), 1);
    setenv("XDG_DATA_DIRS", (root_ / "none").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    setenv("XDG_CONFIG_DIRS", (root_ / "none").c_str(), 1);
    setenv("XDG_CACHE_HOME", (root_ / "cache").c_str(), 1);
    unsetenv("XDG_CURRENT_DESKTOP");
    setenv("GIO_USE_VFS", "local", 1);
    setenv("GSETTINGS_BACKEND", "memory", 1);
    // No session bus: nothing is started over D-Bus, and none is started on demand.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root_ / "no-bus").string()).c_str(), 1);

    write_file(root_ / "recorder",
               "#!/bin/sh\n"
               "{ pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > " +
                   (root_ / "record.tmp").string() + " && mv " + (root_ / "record.tmp").string() +
                   " " + (root_ / "record").string() + "\n");
    fs::permissions(root_ / "recorder", fs::perms::owner_all);

    write_file(root_ / "data/mime/packages/zvtest.xml",
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"application/x-zvtest\">\n"
               "    <comment>Zorvek test document</comment>\n"
               "    <glob pattern=\"*.zvtest\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n");
    const std::string update = "update-mime-database " + (root_ / "data/mime").string();
    ASSERT_EQ(std::system(update.c_str()), 0) << "update-mime-database (shared-mime-info)";

    application("zv-doc", "doc %f", "application/x-zvtest;");
    application("zv-folder", "folder %f", "inode/directory;");
    application("zv-uri", "uri %u", "x-scheme-handler/zvtest;");
    write_file(root_ / "config/mimeapps.list",
               "[Default Applications]\n"
               "application/x-zvtest=zv-doc.desktop\n"
               "inode/directory=zv-folder.desktop\n"
               "x-scheme-handler/zvtest=zv-uri.desktop\n");

    fs::current_path(root_);
  }

  void TearDown() override {
    std::error_code ignored;
    fs::current_path("/", ignored);
    fs::remove_all(root_, ignored);
  }

  static std::string desktop_entry(const std::string& arguments, const std::string& more = {}) {
    return "[Desktop Entry]\nType=Application\nName=Recorder\nExec=" +
           (root_ / "recorder").string() + " " + arguments + "\n" + more;
  }

 private:
  static void application(const std::string& id, const std::string& arguments,
                          const std::string& types) {
    write_file(root_ / "data/applications" / (id + ".desktop"),
               desktop_entry(arguments, "MimeType=" + types + "\n"));
  }

  static inline fs::path root_;
};

[[maybe_unused]] const auto* const desktop = ::testing::AddGlobalTestEnvironment(new Desktop);

class GioShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::remove(root / "record");
    fs::create_directory(here);
  }
  void TearDown() override { fs::remove_all(here); }

  // The working directory and arguments the recorder was started with; empty when it did not
  // run within a few seconds.
  std::vector<std::string> record() const {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!fs::exists(root / "record") && std::chrono::steady_clock::now() < until) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::istringstream in(testing::read_file(root / "record"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    fs::remove(root / "record");
    return lines;
  }

  // A file with some text in it, so that its type is never that of an empty file.
  static fs::path file(const fs::path& path,
                       fs::perms perms = fs::perms::owner_read | fs::perms::owner_write) {
    fs::create_directories(path.parent_path());
    write_file(path, "some text\n");
    fs::permissions(path, perms);
    return path;
  }

  // The recorder reached through a script of its own, as a program.
  fs::path program(const fs::path& path) const {
    fs::create_directories(path.parent_path());
    write_file(path, "#!/bin/sh\nexec " + (root / "recorder").string() + " program \"$@\"\n");
    fs::permissions(path, fs::perms::owner_all);
    return path;
  }

  // What the program keeps: CP932.
  static std::string entry(const fs::path& path) { return codec::to_cp932(path.string()); }

  const fs::path root = Desktop::root();
  const fs::path here = root / ::testing::UnitTest::GetInstance()->current_test_info()->name();
  GioShell shell;
};

TEST_F(GioShellTest, ADocumentOpensWithItsApplicationInTheGivenFolder) {
  const fs::path folder = here / "書類 表";  // 表 ends in 0x5C in CP932
  const fs::path doc = file(folder / "report.zvtest");
  // An executable bit alone does not make a program (every file has one on some mounts).
  const fs::path notes = file(folder / "notes.zvtest", fs::perms::owner_all);

  EXPECT_EQ(shell.open(entry(doc), entry(folder)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{folder, "doc", doc}));
  EXPECT_EQ(shell.open(entry(notes), entry(folder)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{folder, "doc", notes}));
}

TEST_F(GioShellTest, RelativeNamesAreTakenFromTheCurrentDirectory) {
  const fs::path sub = here.filename() / "sub";
  file(root / sub / "a.zvtest");
  file(root / "top.zvtest");
  struct Case {
    std::string entry, directory;
    std::vector<std::string> expected;
  };
  const std::vector<Case> cases = {
      {sub / "a.zvtest", sub, {root / sub, "doc", root / sub / "a.zvtest"}},
      {"./" + (sub / "a.zvtest").string(),
       "./" + sub.string(),
       {root / sub, "doc", root / sub / "a.zvtest"}},
      {"top.zvtest", "", {root, "doc", root / "top.zvtest"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(shell.open(c.entry, c.directory), OpenResult::ok) << c.entry;
    EXPECT_EQ(record(), c.expected) << c.entry;
  }
}

TEST_F(GioShellTest, OnlyAMissingFileIsNotFound) {
  const fs::path doc = file(here / "there.zvtest");
  for (const std::string& missing :
       {(here / "nowhere/x.zvtest").string(), (doc / "x").string(), std::string("gone.zvtest")}) {
    EXPECT_EQ(shell.open(entry(missing), ""), OpenResult::not_found) << missing;
  }
  // A file of a type no application takes: a quiet failure.
  EXPECT_EQ(shell.open(entry(file(here / "data.unknownext")), entry(here)), OpenResult::failed);
}

TEST_F(GioShellTest, ANameWithShellCharactersIsOneFileAndNothingElseRuns) {
  const std::string name = "-x a b 'c' \"d\";$(touch pwned) `touch pwned`|&>pwned";
  const fs::path doc = file(here / (name + ".zvtest"));
  const fs::path prog = program(here / name);

  EXPECT_EQ(shell.open(entry(doc), entry(here)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{here, "doc", doc}));
  EXPECT_EQ(shell.open(entry(prog), entry(here)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{here, "program"}));
  EXPECT_FALSE(fs::exists(here / "pwned"));
  EXPECT_FALSE(fs::exists(root / "pwned"));
}

TEST_F(GioShellTest, AProgramIsStartedDirectlyInItsFolderAndLeavesNoChildBehind) {
  const fs::path folder = here / "bin dir";
  const fs::path prog = program(folder / "run me");
  EXPECT_EQ(shell.open(entry(prog), entry(folder)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{folder, "program"}));
  // GLib's go-between is reaped and the program belongs to init: no child of ours is left.
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(GioShellTest, AFolderOpensInTheFileManager) {
  const fs::path folder = here / "a folder";
  fs::create_directory(folder);
  EXPECT_EQ(shell.open(entry(folder), entry(here)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{here, "folder", folder}));
}

TEST_F(GioShellTest, ADesktopFileStartsItsApplicationWhereItSays) {
  const fs::path plain = here / "plain.desktop";
  write_file(plain, Desktop::desktop_entry("desktop"));
  const fs::path own = here / "own.desktop";
  write_file(own, Desktop::desktop_entry("desktop", "Path=/\n"));

  EXPECT_EQ(shell.open(entry(plain), entry(here)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{here, "desktop"}));
  EXPECT_EQ(shell.open(entry(own), entry(here)), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{"/", "desktop"}));
}

TEST_F(GioShellTest, AUriOpensWithTheHandlerOfItsScheme) {
  EXPECT_EQ(shell.open("zvtest://host/page?q=1", ""), OpenResult::ok);
  EXPECT_EQ(record(), (std::vector<std::string>{root, "uri", "zvtest://host/page?q=1"}));
}

}  // namespace
}  // namespace zorvek
