#include "store/environment_store.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/codec.h"
#include "store/store_error.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using testing::read_file;
using testing::write_file;
using Lines = std::vector<std::string>;

const char kTooLong[] = "AnsiString too large to save in INI file";

TEST(EnvironmentStoreTest, TheFileLiesBesideTheExecutable) {
  EXPECT_EQ(settings_path("/opt/zorvek/bin/zorvek"), "/opt/zorvek/bin/joutai.INI");
}

TEST(EnvironmentStoreTest, EscapeNewlineMakesEachLineBreakBackslashN) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"A\r\nB", "A\\nB"},
      {"A\n\rB", "A\\nB"},
      {"A\rB", "A\\nB"},
      {"A\nB", "A\\nB"},
      {"A\r\rB", "A\\n\\nB"},
      {"A\n\nB", "A\\n\\nB"},
      {"A\r\n\r\nB", "A\\n\\nB"},
      {"A\r\n\rB", "A\\n\\nB"},
      {"\n\r\n", "\\n\\n"},
      {"\x83\x81\x83\x82\r\n", "\x83\x81\x83\x82\\n"},  // メモ
  };
  for (const auto& [entry, stored] : cases) EXPECT_EQ(escape_newline(entry), stored) << entry;
}

TEST(EnvironmentStoreTest, EntriesLongerThan4096BytesAreRefused) {
  const std::string dbcs(4096, '\x82');  // 2048 double-byte characters
  EXPECT_EQ(escape_newline(dbcs), dbcs);
  EXPECT_EQ(escape_newline(std::string(4096, '\n')).size(), 8192u);
  for (const auto& entry : {std::string(4097, 'a'), dbcs + "a"}) {
    try {
      escape_newline(entry);
      ADD_FAILURE() << "no error";
    } catch (const StoreError& e) {
      EXPECT_STREQ(e.what(), kTooLong);
    }
  }
}

TEST(EnvironmentStoreTest, AListEndsAtItsFirstMissingOrEmptyKey) {
  const auto doc = IniDocument::parse(
      "[e]\r\nkill0=a\r\nkill1=\r\nkill2=c\r\nexe0=x\r\nexe1=y\r\nexe3=z\r\n"
      "[f]\r\nkill1=b\r\n");
  EXPECT_EQ(read_list(doc, "e", "kill"), Lines{"a"});
  EXPECT_EQ(read_list(doc, "E", "EXE"), (Lines{"x", "y"}));
  EXPECT_TRUE(read_list(doc, "f", "kill").empty());
  EXPECT_TRUE(read_list(doc, "missing", "kill").empty());
}

TEST(EnvironmentStoreTest, WritingAListDeletesTheSurplusUpToTheFirstGap) {
  struct Case {
    const char* what;
    std::string before;
    Lines entries;
    std::string after;
  };
  const Case cases[] = {
      {"shorter list",
       "[e]\r\nkill0=a\r\nkill1=b\r\nkill2=c\r\nexe0=z\r\n",
       {"x"},
       "[e]\r\nkill0=x\r\nexe0=z\r\n"},
      {"gap",
       "[e]\r\nkill0=a\r\nkill1=b\r\nkill2=c\r\nkill4=e\r\n",
       {"x", "y"},
       "[e]\r\nkill0=x\r\nkill1=y\r\nkill4=e\r\n"},
      {"empty key stops the deletion",
       "[e]\r\nkill0=a\r\nkill1=\r\nkill2=c\r\n",
       {},
       "[e]\r\nkill1=\r\nkill2=c\r\n"},
      {"longer list",
       "[e]\r\nkill0=a\r\n\r\n[f]\r\n",
       {"x", "y\r\nz"},
       "[e]\r\nkill0=x\r\nkill1=y\\nz\r\n\r\n[f]\r\n"},
      {"new section", "[f]\r\n", {"x"}, "[f]\r\n[e]\r\nkill0=x\r\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::parse(c.before);
    write_list(doc, "e", "kill", c.entries);
    EXPECT_EQ(doc.serialize(), c.after) << c.what;
  }

  IniDocument doc = IniDocument::parse("[e]\r\nkill0=a\r\n");
  EXPECT_THROW(write_list(doc, "e", "kill", {"x", std::string(4097, 'a')}), StoreError);
  EXPECT_EQ(doc.serialize(), "[e]\r\nkill0=a\r\n");
}

class EnvironmentFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  std::filesystem::path path = dir / "joutai.INI";
  IniFile ini{path};
};

TEST_F(EnvironmentFileTest, SavesAsCp932WithCrLfAndLoadsBack) {
  const std::string memo = jp("メモ帳");
  save_environment(ini, jp("例"), {{memo, "A\r\nB"}, {"/usr/bin/a b", ""}});
  EXPECT_EQ(read_file(path),
            "[\x97\xe1]\r\nkill0=\x83\x81\x83\x82\x92\xa0\r\nkill1=A\\nB\r\n"
            "exe0=/usr/bin/a b\r\nexe1=\r\n");
  const EnvironmentLists loaded = load_environment(ini, jp("例"));
  EXPECT_EQ(loaded.kill, (Lines{memo, "A\\nB"}));
  // An empty entry ends the list it is in.
  EXPECT_EQ(loaded.exe, Lines{"/usr/bin/a b"});

  const EnvironmentLists missing = load_environment(ini, "other");
  EXPECT_TRUE(missing.kill.empty() && missing.exe.empty());
  EXPECT_TRUE(load_environment(IniFile(dir / "none.INI"), "x").exe.empty());
}

TEST_F(EnvironmentFileTest, ASaveTouchesOnlyItsSectionAndNewOnesGoLast) {
  write_file(path,
             "[Zorveksystem]\r\nform_width=700\r\n[a]\r\nkill0=k\r\nexe0=1\r\nexe1=2\r\n"
             "exe2=3\r\n;note\r\n\r\n[b]\r\nexe0=b\r\n");
  save_environment(ini, "A", {{}, {"x"}});
  save_environment(ini, "c", {{"k"}, {}});
  EXPECT_EQ(read_file(path),
            "[Zorveksystem]\r\nform_width=700\r\n[a]\r\nexe0=x\r\n;note\r\n\r\n"
            "[b]\r\nexe0=b\r\n[c]\r\nkill0=k\r\n");
  EXPECT_EQ(environment_names(ini), (Lines{"a", "b", "c"}));
}

TEST_F(EnvironmentFileTest, ASaveIsStoredWholeOrNotAtAll) {
  const std::string before = "[e]\r\nkill0=a\r\nkill1=b\r\nexe0=c\r\n";
  write_file(path, before);
  try {
    save_environment(ini, "e", {{"new"}, {"x", std::string(4097, 'y'), "z"}});
    FAIL() << "no error";
  } catch (const StoreError& e) {
    EXPECT_STREQ(e.what(), kTooLong);
  }
  EXPECT_EQ(read_file(path), before);

  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  try {
    save_environment(ini, "e", {{"new"}, {}});
    FAIL() << "no error";
  } catch (const StoreError& e) {
    EXPECT_EQ(e.what(), path.string() + jp(" に書き込めません"));
  }
  EXPECT_EQ(read_file(path), before);
}

TEST_F(EnvironmentFileTest, OnlyTheFirstExactSystemSectionIsNotAnEnvironment) {
  EXPECT_TRUE(environment_names(ini).empty());
  write_file(path, "[Zorveksystem]\r\nmake_log_flg=1\r\n");
  EXPECT_TRUE(environment_names(ini).empty());

  write_file(path, "[a]\r\n[zorveksystem]\r\n[Zorveksystem]\r\n[b]\r\n[Zorveksystem]\r\n");
  EXPECT_EQ(environment_names(ini), (Lines{"a", "zorveksystem", "b", "Zorveksystem"}));

  // An environment of that name is stored in the system section, and is not listed.
  write_file(path, "[Zorveksystem]\r\nform_width=700\r\n");
  save_environment(ini, "Zorveksystem", {{"k"}, {}});
  EXPECT_EQ(read_file(path), "[Zorveksystem]\r\nform_width=700\r\nkill0=k\r\n");
  EXPECT_TRUE(environment_names(ini).empty());
}

TEST_F(EnvironmentFileTest, NamesDifferingInLatinCaseShareOneSection) {
  save_environment(ini, "Work", {{"a", "b"}, {"c"}});
  save_environment(ini, "WORK", {{"x"}, {}});
  EXPECT_EQ(read_file(path), "[Work]\r\nkill0=x\r\n");
  EXPECT_EQ(load_environment(ini, "work").kill, Lines{"x"});
  // Full-width letters are other names.
  save_environment(ini, jp("Ｗｏｒｋ"), {{"y"}, {}});
  save_environment(ini, jp("ｗｏｒｋ"), {{"z"}, {}});
  EXPECT_EQ(environment_names(ini), (Lines{"Work", jp("Ｗｏｒｋ"), jp("ｗｏｒｋ")}));
}

TEST_F(EnvironmentFileTest, TheSampleEnvironment) {
  EXPECT_EQ(write_sample_environment(ini), "\x97\xe1");
  EXPECT_EQ(read_file(path), "[\x97\xe1]\r\nexe0=./Readme.txt\r\n");
  EXPECT_EQ(environment_names(ini), Lines{"\x97\xe1"});
}

}  // namespace
}  // namespace zorvek
