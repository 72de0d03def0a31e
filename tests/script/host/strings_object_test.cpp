#include "script/host/strings_object.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/host/string_buffer_object.h"
#include "support/replace_file.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;
namespace fs = std::filesystem;

namespace {

struct FilesEngine : HostEngine {
  FilesEngine() { host::RegisterHostObjects(*this); }
};

std::string Lines(const TJValue& list) { return Text(Get(list, "commaText")); }

// A folder of its own for one test, removed afterwards.
struct TempFolder {
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "strings-test-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path); }
  std::string File(const char* name) const { return (fs::path(path) / name).string(); }
  fs::path path;
};

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& name, const std::string& data) {
  std::ofstream out(name, std::ios::binary);
  out << data;
}

}  // namespace

TEST(StringsObject, WrapperWithoutListRaisesFromEveryMember) {
  FilesEngine e;
  TJValue w = TJValue::Object(host::WrapStrings(&e, nullptr));
  const std::string null = "EStringsError:strings is null";
  EXPECT_EQ(ErrorOf([&] { Get(w, "length"); }), null);
  EXPECT_EQ(ErrorOf([&] { Get(w, "count"); }), null);
  EXPECT_EQ(ErrorOf([&] { Get(w, "text"); }), null);
  EXPECT_EQ(ErrorOf([&] { Put(w, "commaText", S("a")); }), null);
  EXPECT_EQ(ErrorOf([&] { Call(w, "add", {S("a")}); }), null);
  EXPECT_EQ(ErrorOf([&] { Call(w, "insert"); }), null);  // the list is checked before the arguments
  EXPECT_EQ(ErrorOf([&] { Call(w, "indexOf", {S("a")}); }), null);
  EXPECT_EQ(ErrorOf([&] { Call(w, "toString"); }), null);
  EXPECT_EQ(ErrorOf([&] { Index(w, "0"); }), null);
  EXPECT_EQ(ErrorOf([&] { w.vObject()->GetCount(); }), null);
  EXPECT_EQ(w.vObject()->Name(), "Strings");
}

TEST(StringsObject, WrapperWorksOnTheOwnersListAndNoticesItsEnd) {
  FilesEngine e;
  auto owned = std::make_unique<fw::TStringList>();
  owned->Add("first");
  TJValue w = TJValue::Object(host::WrapStrings(&e, owned.get()));
  EXPECT_EQ(Call(w, "add", {S("second"), I(3)}).vInteger(), 2);
  EXPECT_EQ(owned->CommaText(), "first,second,3");
  IndexPut(w, "0", S("changed"));
  EXPECT_EQ(owned->Get(0), "changed");
  owned->Add("from C++");
  EXPECT_EQ(Get(w, "length").vInteger(), 4);
  // The owner frees its list while the script still holds the wrapper.
  owned.reset();
  EXPECT_EQ(ErrorOf([&] { Get(w, "length"); }), "EStringsError:strings is null");
  EXPECT_EQ(ErrorOf([&] { Call(w, "add", {S("x")}); }), "EStringsError:strings is null");
}

TEST(StringsObject, BadIndexesAreScriptErrors) {
  FilesEngine e;
  TJValue s = e.New("Strings", {S("a\nb")});
  EXPECT_EQ(ErrorOf([&] { Call(s, "insert", {I(3), S("x")}); }), "EStringsError:insert error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "insert", {I(-1), S("x")}); }), "EStringsError:insert error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "insert", {I(0)}); }), "EStringsError:insert error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "delete", {I(2)}); }), "EStringsError:delete error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "delete", {I(-1)}); }), "EStringsError:delete error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "delete"); }), "EStringsError:delete error");
  EXPECT_EQ(Lines(s), "a,b");  // nothing changed by the refused calls
  Call(s, "insert", {I(2), S("end")});  // one past the last line appends
  EXPECT_EQ(Lines(s), "a,b,end");

  // Bracket names: an integer is a line, anything else an ordinary member.
  EXPECT_EQ(ErrorOf([&] { Index(s, "7"); }), "EIndexError:7");
  EXPECT_EQ(ErrorOf([&] { Index(s, "-1"); }), "EIndexError:-1");
  EXPECT_EQ(ErrorOf([&] { IndexPut(s, "3", S("x")); }), "EIndexError:3");
  EXPECT_EQ(Text(Index(s, "length")), "3");
  IndexPut(s, "note", S("member"));
  EXPECT_EQ(Text(Get(s, "note")), "member");
  EXPECT_EQ(Get(s, "length").vInteger(), 3);

  // A sorted list refuses a line put in place.
  Put(s, "sorted", B(true));
  EXPECT_EQ(ErrorOf([&] { IndexPut(s, "0", S("z")); }), "EIndexError:0");
}

TEST(StringsObject, SortingCaseAndDuplicates) {
  FilesEngine e;
  struct Case {
    bool sorted, caseSensitive, duplicates;
    const char* lines;
    int32_t indexOfUpperB;
  } cases[] = {
      {false, false, false, "b,a,B,a", 0},
      {false, true, false, "b,a,B,a", 2},
      {true, false, false, "a,b", 1},      // sorted, duplicates ignored: B is b, the second a goes
      {true, true, false, "B,a,b", 0},     // case counts (byte order): B stays, the second a goes
      {true, false, true, "a,a,B,b", 2},   // duplicates kept; B equals b and goes in at its place
      {true, true, true, "B,a,a,b", 0},
  };
  for (const Case& c : cases) {
    TJValue s = e.New("Strings");
    EXPECT_FALSE(Get(s, "duplicates").vBool());
    Put(s, "caseSensitive", B(c.caseSensitive));
    Put(s, "duplicates", B(c.duplicates));
    Put(s, "sorted", B(c.sorted));
    for (const char* line : {"b", "a", "B", "a"}) Call(s, "add", {S(line)});
    SCOPED_TRACE(std::string(c.lines));
    EXPECT_EQ(Get(s, "sorted").vBool(), c.sorted);
    EXPECT_EQ(Get(s, "caseSensitive").vBool(), c.caseSensitive);
    EXPECT_EQ(Get(s, "duplicates").vBool(), c.duplicates);
    EXPECT_EQ(Lines(s), c.lines);
    EXPECT_EQ(Call(s, "indexOf", {S("B")}).vInteger(), c.indexOfUpperB);
  }
  // With duplicates ignored, adding a line a sorted list holds answers its index.
  TJValue s = e.New("Strings", {S("b\na")});
  Put(s, "sorted", B(true));
  EXPECT_EQ(Lines(s), "a,b");
  EXPECT_EQ(Call(s, "add", {S("B")}).vInteger(), 1);
  EXPECT_EQ(Get(s, "length").vInteger(), 2);
  // sort on an unsorted list.
  TJValue u = e.New("Strings", {S("c\nA\nb")});
  EXPECT_EQ(Call(u, "sort").vObject(), u.vObject());
  EXPECT_EQ(Lines(u), "A,b,c");
}

TEST(StringsObject, AddStringsAndAssignTakeListsIndexedObjectsAndPlainValues) {
  FilesEngine e;
  TJValue s = e.New("Strings", {S("x")});
  TJValue other = e.New("Strings", {S("p\nq")});
  Call(s, "addStrings", {other});
  EXPECT_EQ(Lines(s), "x,p,q");
  Call(s, "addStrings", {e.New("StringBuffer", {S("ab")})});  // any indexed object: its items
  EXPECT_EQ(Lines(s), "x,p,q,a,b");
  Call(s, "addStrings", {I(1), S("two")});  // no object: as add
  EXPECT_EQ(Lines(s), "x,p,q,a,b,1,two");
  EXPECT_EQ(ErrorOf([&] { Call(s, "addStrings"); }), "EStringsError:addStrings error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "addStrings", {e.New("Cookie")}); }), "EStringsError:addStrings error");

  Call(s, "assign", {other});
  EXPECT_EQ(Lines(s), "p,q");
  // A list given itself keeps its lines instead of clearing them away.
  Call(s, "assign", {s});
  EXPECT_EQ(Lines(s), "p,q");
  Call(s, "addStrings", {s});
  EXPECT_EQ(Lines(s), "p,q,p,q");
  Call(s, "assign", {S("only")});
  EXPECT_EQ(Lines(s), "only");
  EXPECT_EQ(ErrorOf([&] { Call(s, "assign", {e.New("Cookie")}); }), "EStringsError:addStrings error");
  EXPECT_EQ(Lines(s), "only");  // a refused assign clears nothing
}

TEST(StringsObject, TextForms) {
  FilesEngine e;
  TJValue s = e.New("Strings", {S("a\r\nb\rc\n")});
  EXPECT_EQ(Text(Get(s, "text")), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Text(Call(s, "toString")), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(Text(Call(s, "toString", {S(",")})), "a,b,c,");
  EXPECT_EQ(Text(Call(s, "toString", {I(0)})), "a0b0c0");
  Put(s, "commaText", S("one,\"two words\",\"say \"\"hi\"\"\""));
  EXPECT_EQ(Get(s, "count").vInteger(), 3);
  EXPECT_EQ(Text(Index(s, "1")), "two words");
  EXPECT_EQ(Text(Index(s, "2")), "say \"hi\"");
  EXPECT_EQ(Text(Get(s, "commaText")), "one,\"two words\",\"say \"\"hi\"\"\"");
  // Only text makes lines at construction: a number is not taken as text.
  EXPECT_EQ(Get(e.New("Strings", {I(5)}), "length").vInteger(), 0);
  EXPECT_EQ(Get(e.New("Strings", {e.New("StringBuffer", {S("p\nq")})}), "length").vInteger(), 2);
}

TEST(StringsObject, FilesRoundTripAndFailuresAreScriptErrors) {
  FilesEngine e;
  TempFolder dir;
  std::string name = dir.File("lines.txt");
  // Mixed line ends and Shift_JIS bytes (a trail byte 0x5C among them) read as they are.
  WriteFile(name, "one\r\n\x83\x5C\x95\x5C\ntwo\rthree");
  TJValue s = e.New("Strings");
  EXPECT_EQ(Call(s, "loadFromFile", {S(name)}).vObject(), s.vObject());
  EXPECT_EQ(Get(s, "length").vInteger(), 4);
  EXPECT_EQ(Text(Index(s, "1")), "\x83\x5C\x95\x5C");
  Call(s, "saveToFile", {S(name)});
  EXPECT_EQ(ReadFile(name), "one\r\n\x83\x5C\x95\x5C\r\ntwo\r\nthree\r\n");

  // A missing file or a folder cannot be loaded; the list keeps its lines.
  EXPECT_EQ(ErrorOf([&] { Call(s, "loadFromFile", {S(dir.File("absent"))}); }), "EStringsError:loadFromFile error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "loadFromFile", {S(dir.path.string())}); }), "EStringsError:loadFromFile error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "loadFromFile"); }), "EStringsError:loadFromFile error");
  EXPECT_EQ(Get(s, "length").vInteger(), 4);
  // Writing into a folder that does not exist, or over a folder, fails and says so.
  EXPECT_EQ(ErrorOf([&] { Call(s, "saveToFile", {S(dir.File("no/such.txt"))}); }), "EStringsError:saveToFile error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "saveToFile", {S(dir.path.string())}); }), "EStringsError:saveToFile error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "saveToFile"); }), "EStringsError:saveToFile error");
  EXPECT_TRUE(fs::is_directory(dir.path));
}

TEST(StringsObject, SaveThroughALinkReplacesTheLinkedFile) {
  FilesEngine e;
  TempFolder dir;
  WriteFile(dir.File("real.txt"), "old\r\n");
  fs::permissions(dir.File("real.txt"), fs::perms(0640));
  fs::create_symlink("real.txt", dir.File("link.txt"));
  TJValue s = e.New("Strings", {S("new")});
  Call(s, "saveToFile", {S(dir.File("link.txt"))});
  EXPECT_TRUE(fs::is_symlink(dir.File("link.txt")));
  EXPECT_EQ(ReadFile(dir.File("real.txt")), "new\r\n");
  EXPECT_EQ(fs::status(dir.File("real.txt")).permissions() & fs::perms::all, fs::perms(0640));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2);
}

// A process killed while saving leaves the old file whole.
TEST(StringsObject, WriterKilledInTheMiddleOfASaveLosesNothing) {
  TempFolder dir;
  std::string name = dir.File("keep.txt");
  std::string old = "line 1\r\nline 2\r\nline 3\r\n";
  WriteFile(name, old);
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FilesEngine e;
    TJValue s = e.New("Strings");
    for (int i = 0; i < 1000; ++i) Call(s, "add", {S("a much longer new line that takes many blocks")});
    support::testing::BlockSize = 64;
    support::testing::AfterBlockWritten = [](size_t written) {
      if (written >= 4096) raise(SIGKILL);
    };
    Call(s, "saveToFile", {S(name)});
    _exit(0);  // not reached when the kill came
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_EQ(WTERMSIG(status), SIGKILL);
  EXPECT_EQ(ReadFile(name), old);
  // Nothing of the new contents is left beside it.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}
