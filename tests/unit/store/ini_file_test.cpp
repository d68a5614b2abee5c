#include "store/ini_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

#include "platform/codec.h"
#include "store/store_error.h"
#include "support/temp_dir.h"

namespace zorvek {
namespace {

using testing::read_file;
using testing::write_file;

std::string edited(std::string_view before, const std::function<void(IniDocument&)>& change) {
  IniDocument doc = IniDocument::parse(before);
  change(doc);
  return doc.serialize();
}

// What the document says must be what a fresh reading of its bytes says.
void expect_reads_back(const IniDocument& doc, std::string_view section, std::string_view key) {
  const IniDocument again = IniDocument::parse(doc.serialize());
  EXPECT_EQ(doc.section_names(), again.section_names());
  EXPECT_EQ(doc.value(section, key), again.value(section, key));
}

TEST(IniDocumentTest, KeepsEveryByteOfWhateverItReads) {
  const std::string garbage("\x00\xff[\x81\r\r\n\n\r=\x00;x", 13);
  const std::string cases[] = {
      "",
      "[a]\r\nk=v\r\n",
      "[a]\nk=v\n",
      "[a]\rk=v\r",
      "[a]\r\nk=v",
      "  [a] trailing\r\n\tk = \"v\" \n\r;c\r\n\r\n",
      "no section=1\r\n[unclosed\r\n]\r\n[]\r\n",
      garbage,
      std::string(1 << 20, 'x'),
      "[a]\r\n" + std::string(1 << 20, '=') + garbage,
  };
  for (const auto& bytes : cases) {
    EXPECT_EQ(IniDocument::parse(bytes).serialize(), bytes);
  }
}

TEST(IniDocumentTest, AChangeLeavesEveryOtherLineAsItWas) {
  const std::string before_a("junk\x00\xfe line\n\r;comment=1\r\r\n", 25);
  const std::string after_a("[b]\nodd = spacing \r  \r\n\t\x81\x40=\x00", 27);
  EXPECT_EQ(edited(before_a + "[a]\r\nk=1\r\n" + after_a,
                   [](IniDocument& d) { d.set_value("a", "k", "2"); }),
            before_a + "[a]\r\nk=2\r\n" + after_a);
  EXPECT_EQ(
      edited(before_a + "[a]\r\nk=1\r\n" + after_a, [](IniDocument& d) { d.delete_key("a", "k"); }),
      before_a + "[a]\r\n" + after_a);
}

struct ReadCase {
  const char* what;
  std::string file;
  std::string section;
  std::string key;
  std::optional<std::string> value;
};

TEST(IniDocumentTest, ReadsValuesByThePrivateProfileRules) {
  const std::string a_katakana = "\x83\x41";  // second byte is "A"
  const std::string small_ya = "\x83\x61";    // second byte is "a"
  const std::string dash = "\x81\x5d";        // second byte is "]"
  const ReadCase cases[] = {
      {"plain", "[s]\r\nk=v\r\n", "s", "k", "v"},
      {"names ignore Latin case", "[Sec]\r\nKey=v\r\n", "sEC", "kEY", "v"},
      {"blanks around = and the value", "[s]\r\n \t key \t=  a b \t\r\n", "s", "key", "a b"},
      {"double quotes", "[s]\r\nk=\" a \"\r\n", "s", "k", " a "},
      {"single quotes", "[s]\r\nk='x'\r\n", "s", "k", "x"},
      {"quotes that do not match", "[s]\r\nk=\"x'\r\n", "s", "k", "\"x'"},
      {"a lone quote", "[s]\r\nk=\"\r\n", "s", "k", "\""},
      {"inner quotes stay", "[s]\r\nk=a\"b\"\r\n", "s", "k", "a\"b\""},
      {"empty value", "[s]\r\nk=\r\n", "s", "k", ""},
      {"value holding =", "[s]\r\nk=a=b\r\n", "s", "k", "a=b"},
      {"first of two keys", "[s]\r\nk=1\r\nK=2\r\n", "s", "k", "1"},
      {"first of two sections", "[s]\r\nk=1\r\n[S]\r\nk=2\r\nj=3\r\n", "s", "k", "1"},
      {"second section unreachable", "[s]\r\nk=1\r\n[S]\r\nj=3\r\n", "s", "j", std::nullopt},
      {"key before any section", "k=1\r\n[s]\r\n", "s", "k", std::nullopt},
      {"comment line", "[s]\r\n;k=1\r\n", "s", "k", std::nullopt},
      {"comment as key", "[s]\r\n;k=1\r\n", "s", ";k", std::nullopt},
      {"line without =", "[s]\r\njunk\r\n", "s", "junk", std::nullopt},
      {"[ without ] is no header", "[s]\r\n[t=1\r\nk=2\r\n", "s", "k", "2"},
      {"[ without ] is no key", "[s]\r\n[t=1\r\n", "s", "[t", std::nullopt},
      {"name up to the last ]", "[a]b] tail\r\nk=1\r\n", "a]b", "k", "1"},
      {"blanks inside brackets", "[ s\t]\r\nk=1\r\n", "s", "k", "1"},
      {"LF only", "[s]\nj=0\nk=1\n", "s", "k", "1"},
      {"CR only", "[s]\rj=0\rk=1\r", "s", "k", "1"},
      {"no final line ending", "[s]\r\nk=1", "s", "k", "1"},
      {"missing section", "[s]\r\nk=1\r\n", "t", "k", std::nullopt},
      {"missing key", "[s]\r\nk=1\r\n", "s", "j", std::nullopt},
      {"double-byte key", "[s]\r\n" + a_katakana + "=1\r\n", "s", a_katakana, "1"},
      {"second bytes are not case-folded", "[s]\r\n" + a_katakana + "=1\r\n", "s", small_ya,
       std::nullopt},
      {"nor in section names", "[" + a_katakana + "]\r\nk=1\r\n", small_ya, "k", std::nullopt},
      {"] as a second byte", "[" + dash + "]\r\nk=1\r\n", dash, "k", "1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IniDocument::parse(c.file).value(c.section, c.key), c.value) << c.what;
  }
}

TEST(IniDocumentTest, ListsEverySectionInFileOrder) {
  const auto doc =
      IniDocument::parse("k=0\r\n[b]\r\n[a]\r\n[unclosed\r\n  [B] \r\n[\x81\x5d]\n[]\r\n[ c ]");
  EXPECT_EQ(doc.section_names(), (std::vector<std::string>{"b", "a", "B", "\x81\x5d", "", "c"}));
  EXPECT_TRUE(IniDocument::parse("").section_names().empty());
}

struct WriteCase {
  const char* what;
  std::string before;
  std::function<void(IniDocument&)> change;
  std::string after;
};

TEST(IniDocumentTest, WritesWhereThePrivateProfileFunctionsWould) {
  const WriteCase cases[] = {
      {"first key of an empty file", "", [](auto& d) { d.set_value("s", "k", "v"); },
       "[s]\r\nk=v\r\n"},
      {"new section at the end", "[a]\r\nk=1\r\n\r\n", [](auto& d) { d.set_value("b", "j", "2"); },
       "[a]\r\nk=1\r\n\r\n[b]\r\nj=2\r\n"},
      {"new key after the last line that is not blank", "[a]\r\nk=1\r\n;note\r\n\r\n \r\n[b]\r\n",
       [](auto& d) { d.set_value("a", "j", "2"); },
       "[a]\r\nk=1\r\n;note\r\nj=2\r\n\r\n \r\n[b]\r\n"},
      {"new key in a section without lines", "[a]\r\n\r\n[b]\r\n",
       [](auto& d) { d.set_value("A", "j", "2"); }, "[a]\r\nj=2\r\n\r\n[b]\r\n"},
      {"replaced in place, stored spelling and line ending kept", "[A]\r\n  Key = old \n;x\n",
       [](auto& d) { d.set_value("a", "KEY", "new"); }, "[A]\r\nKey=new\n;x\n"},
      {"first of two keys replaced", "[a]\r\nk=1\r\nk=2\r\n",
       [](auto& d) { d.set_value("a", "k", "3"); }, "[a]\r\nk=3\r\nk=2\r\n"},
      {"first of two sections written", "[a]\r\nk=1\r\n[A]\r\n",
       [](auto& d) { d.set_value("a", "j", "2"); }, "[a]\r\nk=1\r\nj=2\r\n[A]\r\n"},
      {"existing lines keep LF, new ones get CR LF", "[a]\nk=1\n",
       [](auto& d) { d.set_value("a", "j", "2"); }, "[a]\nk=1\nj=2\r\n"},
      {"key after a last line without ending", "[a]\r\nk=1",
       [](auto& d) { d.set_value("a", "j", "2"); }, "[a]\r\nk=1\r\nj=2\r\n"},
      {"section after a last line without ending", "[a]\r\nk=1",
       [](auto& d) { d.set_value("b", "j", "2"); }, "[a]\r\nk=1\r\n[b]\r\nj=2\r\n"},
      {"section after lines outside any section", "x=1",
       [](auto& d) { d.set_value("b", "j", "2"); }, "x=1\r\n[b]\r\nj=2\r\n"},
      {"delete takes the line with its ending", "[a]\r\nk=1\nj=2\r\n",
       [](auto& d) { EXPECT_TRUE(d.delete_key("A", "K")); }, "[a]\r\nj=2\r\n"},
      {"delete of a missing key", "[a]\r\nk=1\r\n",
       [](auto& d) { EXPECT_FALSE(d.delete_key("a", "j") || d.delete_key("b", "k")); },
       "[a]\r\nk=1\r\n"},
      {"erase takes every line up to the next section", "[a]\r\nk=1\r\n[b]\r\n;c\r\n\r\n[c]\r\n",
       [](auto& d) { EXPECT_TRUE(d.erase_section("B")); }, "[a]\r\nk=1\r\n[c]\r\n"},
      {"erase of the last section", "[a]\r\n[b]\r\nk=1",
       [](auto& d) { EXPECT_TRUE(d.erase_section("b")); }, "[a]\r\n"},
      {"erase of a missing section", "[a]\r\n", [](auto& d) { EXPECT_FALSE(d.erase_section("b")); },
       "[a]\r\n"},
      {"a key that would not read back is not written", "[a]\r\n",
       [](auto& d) {
         d.set_value("a", "k=1", "v");
         d.set_value("a", ";k", "v");
         d.set_value("a", "[k]", "v");
         d.set_value("b", "k=1", "v");
       },
       "[a]\r\n"},
      {"line breaks in names and values are stored as blanks", "[a]\r\n",
       [](auto& d) {
         d.set_value("x\r\ny", "k\n", "1\r2");
         EXPECT_EQ(d.value("x  y", "k"), "1 2");
         EXPECT_EQ(d.value("x\r\ny", "k\r"), "1 2");
       },
       "[a]\r\n[x  y]\r\nk =1 2\r\n"},
      {"a name ending in a lone lead byte keeps its ]", "[a]\r\n",
       [](auto& d) {
         d.set_value("x\x81", "k", "1");
         EXPECT_EQ(d.value("x\x81", "k"), "1");
         EXPECT_EQ(d.value("a", "k"), std::nullopt);
       },
       "[a]\r\n[x\x81 ]\r\nk=1\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(edited(c.before, c.change), c.after) << c.what;
  }
}

TEST(IniDocumentTest, TheFirstOfTwoKeysCountsWhateverWasLookedUpBefore) {
  IniDocument doc = IniDocument::parse("[a]\r\nk=1\r\nj=0\r\nk=2\r\n");
  EXPECT_EQ(doc.value("a", "j"), "0");
  EXPECT_EQ(doc.value("a", "k"), "1");
  doc.set_value("a", "j", "5");
  doc.set_value("a", "k", "3");
  EXPECT_EQ(doc.serialize(), "[a]\r\nk=3\r\nj=5\r\nk=2\r\n");
}

TEST(IniDocumentTest, RemovingTheFirstOfTwoMakesTheSecondCount) {
  IniDocument doc = IniDocument::parse("[a]\r\nk=1\r\n[A]\r\nk=2\r\nj=5\r\n[a]\r\nk=3\r\nk=4\r\n");
  EXPECT_TRUE(doc.erase_section("a"));
  EXPECT_EQ(doc.value("a", "k"), "2");
  EXPECT_TRUE(doc.erase_section("a"));
  EXPECT_EQ(doc.value("a", "j"), std::nullopt);
  EXPECT_TRUE(doc.delete_key("a", "k"));
  EXPECT_EQ(doc.value("a", "k"), "4");
  doc.set_value("a", "k", "5");
  EXPECT_EQ(doc.serialize(), "[a]\r\nk=5\r\n");
}

TEST(IniDocumentTest, ManyChangesInOneSectionReadBackAsWritten) {
  // Replacing, appending and removing thousands of keys in turn, as saving long lists does.
  IniDocument doc = IniDocument::parse("[other]\r\nk=1\r\n[s]\r\n;head\r\n\r\n[t]\r\nk=2\r\n");
  const auto fill = [&](std::string_view prefix, int from, int to, const std::string& tag) {
    for (int i = from; i < to; ++i) {
      doc.set_value("s", std::string(prefix) + std::to_string(i), tag + std::to_string(i));
    }
  };
  fill("kill", 0, 2000, "a");
  fill("exe", 0, 500, "b");
  for (int i = 10; i < 2000; ++i) doc.delete_key("S", "KILL" + std::to_string(i));
  fill("exe", 0, 1500, "c");
  fill("kill", 0, 20, "d");

  const IniDocument again = IniDocument::parse(doc.serialize());
  for (int i = 0; i < 2001; ++i) {
    for (const char* prefix : {"kill", "exe"}) {
      const std::string key = prefix + std::to_string(i);
      ASSERT_EQ(doc.value("s", key), again.value("s", key)) << key;
    }
  }
  EXPECT_EQ(again.value("s", "kill19"), "d19");
  EXPECT_EQ(again.value("s", "kill20"), std::nullopt);
  EXPECT_EQ(again.value("s", "exe1499"), "c1499");
  EXPECT_EQ(again.value("other", "k"), "1");
  EXPECT_EQ(again.value("t", "k"), "2");
  expect_reads_back(doc, "t", "k");
}

class IniFileTest : public ::testing::Test {
 protected:
  struct stat stat_of(const std::filesystem::path& p) {
    struct stat st {};
    EXPECT_EQ(stat(p.c_str(), &st), 0) << p;
    return st;
  }

  std::string write_error(const std::filesystem::path& p) {
    return codec::to_cp932(p.string()) + codec::to_cp932(" に書き込めません");
  }

  testing::TempDir dir;
  std::filesystem::path path = dir / "joutai.INI";
  IniFile ini{path};
};

TEST_F(IniFileTest, AMissingFileReadsAsEmptyAndTheFirstWriteCreatesIt) {
  EXPECT_TRUE(ini.read_sections().empty());
  EXPECT_EQ(ini.read_string("s", "k", "dflt"), "dflt");
  EXPECT_EQ(ini.read_integer("s", "k", 641), 641);
  ini.delete_key("s", "k");
  ini.erase_section("s");
  EXPECT_FALSE(std::filesystem::exists(path));

  ini.write_string("s", "k", "v");
  ini.write_integer("s", "n", -12);
  ini.write_bool("s", "t", true);
  ini.write_bool("s", "f", false);
  EXPECT_EQ(read_file(path), "[s]\r\nk=v\r\nn=-12\r\nt=1\r\nf=0\r\n");
  EXPECT_EQ(ini.read_string("S", "K", ""), "v");
  EXPECT_EQ(ini.read_sections(), std::vector<std::string>{"s"});
  // The lock file is the only other thing left beside it.
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"joutai.INI", "joutai.INI.lock"}));
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
  write_file(path, "[s]\r\nk=1\r\n");
  EXPECT_EQ(ini.read_string("s", "k", ""), "1");
  write_file(path, "[t]\nk=2\n");
  EXPECT_EQ(ini.read_string("s", "k", "gone"), "gone");
  EXPECT_EQ(ini.read_sections(), std::vector<std::string>{"t"});
  ini.write_string("t", "j", "3");
  EXPECT_EQ(read_file(path), "[t]\nk=2\nj=3\r\n");
  std::filesystem::remove(path);
  EXPECT_TRUE(ini.read_sections().empty());
}

TEST_F(IniFileTest, ReadsIntegersAndFlags) {
  struct Case {
    const char* stored;  // nullptr: no key
    int expected;
  };
  const Case cases[] = {
      {nullptr, 7},
      {"", 7},
      {"abc", 7},
      {"12x", 7},
      {"12", 12},
      {" 12 ", 12},
      {"-5", -5},
      {"+5", 5},
      {"-", 7},
      {"0x300", 768},
      {"0X1f", 31},
      {"0x", 7},
      {"0x-1", 7},
      {"0xg", 7},
      {"0xFFFFFFFF", -1},
      {"0x7fffffff", 2147483647},
      {"0x100000000", 7},
      {"0x000000001", 1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483648},
      {"2147483648", 7},
      {"-2147483649", 7},
      {"99999999999999999999", 7},
      {"\"42\"", 42},
  };
  for (const auto& c : cases) {
    ini.erase_section("s");
    if (c.stored) ini.write_string("s", "n", c.stored);
    EXPECT_EQ(ini.read_integer("s", "n", 7), c.expected) << (c.stored ? c.stored : "(missing)");
  }

  write_file(path, "[s]\r\nzero=0\r\none=1\r\nhex=0x10\r\njunk=yes\r\n");
  EXPECT_FALSE(ini.read_bool("s", "zero", true));
  EXPECT_TRUE(ini.read_bool("s", "one", false));
  EXPECT_TRUE(ini.read_bool("s", "hex", false));
  EXPECT_TRUE(ini.read_bool("s", "junk", true));
  EXPECT_FALSE(ini.read_bool("s", "junk", false));
  EXPECT_TRUE(ini.read_bool("s", "missing", true));
}

TEST_F(IniFileTest, AReadOnlyFileIsRefusedEvenForRootAndLeftAlone) {
  const std::string before = "[s]\r\nk=1\r\n";
  write_file(path, before);
  ASSERT_EQ(chmod(path.c_str(), 0444), 0);
  const ino_t inode = stat_of(path).st_ino;

  const std::function<void()> writes[] = {
      [&] { ini.write_string("s", "k", "2"); },
      [&] { ini.write_string("s", "k", "1"); },  // even when nothing would change
      [&] { ini.write_integer("s", "n", 1); },
      [&] { ini.write_bool("s", "b", true); },
      [&] { ini.erase_section("s"); },
      [&] { ini.update([](IniDocument& d) { d.set_value("t", "k", "1"); }); },
  };
  for (const auto& write : writes) {
    try {
      write();
      ADD_FAILURE() << "no error";
    } catch (const StoreError& e) {
      EXPECT_EQ(e.what(), write_error(path));
    }
  }
  ini.delete_key("s", "k");  // says nothing
  EXPECT_EQ(read_file(path), before);
  EXPECT_EQ(stat_of(path).st_ino, inode);
  EXPECT_EQ(stat_of(path).st_mode & 07777, 0444u);
  EXPECT_FALSE(std::filesystem::exists(dir / "joutai.INI.tmp"));
}

TEST_F(IniFileTest, AFileThatCannotBeReachedGivesTheWriteError) {
  write_file(dir / "plain", "x");
  std::filesystem::create_directory(dir / "joutai.INI");
  const std::filesystem::path paths[] = {
      dir / "no folder" / "joutai.INI", dir / "plain" / "joutai.INI",
      dir / "joutai.INI",  // a folder
  };
  for (const auto& p : paths) {
    IniFile bad(p);
    EXPECT_TRUE(bad.read_sections().empty()) << p;
    try {
      bad.write_string("s", "k", "v");
      ADD_FAILURE() << "no error for " << p;
    } catch (const StoreError& e) {
      EXPECT_EQ(e.what(), write_error(p));
    }
    bad.delete_key("s", "k");
  }
  EXPECT_EQ(read_file(dir / "plain"), "x");
  EXPECT_TRUE(std::filesystem::is_empty(dir / "joutai.INI"));
}

TEST_F(IniFileTest, TheErrorNamesTheFullPathInCp932) {
  const std::filesystem::path folder = dir / "設定";
  std::filesystem::create_directory(folder);
  IniFile jp_ini(folder / "joutai.INI");
  jp_ini.write_string("s", "k", "1");
  ASSERT_EQ(chmod((folder / "joutai.INI").c_str(), 0400), 0);
  try {
    jp_ini.write_string("s", "k", "2");
    FAIL() << "no error";
  } catch (const StoreError& e) {
    // "<folder>/設定/joutai.INI に書き込めません" in CP932.
    EXPECT_EQ(e.what(), dir.path().string() +
                            "/\x90\xdd\x92\xe8/joutai.INI "
                            "\x82\xc9\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1");
  }
}

TEST_F(IniFileTest, AReplacementKeepsPermissionsAndLinks) {
  write_file(path, "[s]\r\nk=1\r\n");
  ASSERT_EQ(chmod(path.c_str(), 0640), 0);
  ini.write_string("s", "k", "2");
  EXPECT_EQ(stat_of(path).st_mode & 07777, 0640u);

  const std::filesystem::path link = dir / "link.INI";
  std::filesystem::create_symlink(path, link);
  IniFile(link).write_string("s", "k", "3");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(read_file(path), "[s]\r\nk=3\r\n");
}

TEST_F(IniFileTest, UpdateIsAllOrNothing) {
  const std::string before = "[s]\r\nk=1\r\n";
  write_file(path, before);
  const ino_t inode = stat_of(path).st_ino;

  EXPECT_THROW(ini.update([](IniDocument& d) {
    d.set_value("s", "k", "2");
    d.set_value("t", "k", "2");
    throw std::runtime_error("stop");
  }),
               std::runtime_error);
  EXPECT_EQ(read_file(path), before);

  // A change that ends where it began writes nothing: the file is not even replaced.
  ini.update([](IniDocument& d) {
    d.set_value("s", "k", "2");
    d.set_value("s", "k", "1");
  });
  ini.write_string("s", "K", "1");
  ini.delete_key("s", "missing");
  EXPECT_EQ(stat_of(path).st_ino, inode);

  ini.update([](IniDocument& d) {
    d.set_value("s", "k", "2");
    d.set_value("t", "j", "3");
  });
  EXPECT_EQ(read_file(path), "[s]\r\nk=2\r\n[t]\r\nj=3\r\n");
  EXPECT_NE(stat_of(path).st_ino, inode);
}

}  // namespace
}  // namespace zorvek
