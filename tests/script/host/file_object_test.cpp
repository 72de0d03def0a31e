#include "script/host/file_object.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/stdlib/date_object.h"
#include "script/stdlib/date_routines.h"
#include "support/replace_file.h"
#include "tests/script/host/host_fixture.h"

using namespace hosttest;
namespace fs = std::filesystem;

namespace {

struct FilesEngine : HostEngine {
  FilesEngine() { host::RegisterHostObjects(*this); }
};

struct TempFolder {
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "file-test-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~TempFolder() { fs::remove_all(path); }
  std::string File(const std::string& name) const { return (fs::path(path) / name).string(); }
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

TEST(FileObject, ReadingByCountsLinesAndWhole) {
  FilesEngine e;
  TempFolder dir;
  std::string name = dir.File("data.bin");
  WriteFile(name, "0123456789");
  TJValue f = e.New("File", {S(name)});
  EXPECT_EQ(Text(f), name);
  EXPECT_EQ(Get(f, "length").vInteger(), 10);  // closed: the size on disk
  EXPECT_TRUE(Call(f, "open").vBool());
  EXPECT_TRUE(Call(f, "canRead").vBool());
  EXPECT_FALSE(Call(f, "canWrite").vBool());
  EXPECT_EQ(Call(f, "seek", {I(-1)}).vInteger(), 9);
  EXPECT_EQ(Call(f, "seek", {I(8)}).vInteger(), 8);
  EXPECT_EQ(Text(Call(f, "read", {I(10)})), "89");  // fewer at the end
  EXPECT_TRUE(Call(f, "eof").vBool());
  EXPECT_EQ(Text(Call(f, "read", {I(10)})), "");
  Call(f, "seek", {I(0)});
  EXPECT_EQ(Text(Call(f, "read")), "0123456789");
  EXPECT_EQ(ErrorOf([&] { Call(f, "seek", {I(-11)}); }), "EFileError:seek error: " + name);
  EXPECT_EQ(ErrorOf([&] { Call(f, "seek"); }), "EFileError:seek error: " + name);
  EXPECT_TRUE(Call(f, "close").vBool());
  EXPECT_FALSE(Call(f, "close").vBool());

  // A whole read past the 65535-byte blocks.
  std::string big(200001, '\0');
  for (size_t i = 0; i < big.size(); ++i) big[i] = char(i * 7);
  WriteFile(name, big);
  Call(f, "open", {S("r")});
  EXPECT_EQ(Get(f, "length").vInteger(), 200001);
  std::string whole = Text(Call(f, "read"));
  EXPECT_EQ(whole.size(), big.size());
  EXPECT_TRUE(whole == big);
}

TEST(FileObject, LinesEndAtLineFeedsAcrossBlocks) {
  FilesEngine e;
  TempFolder dir;
  std::string name = dir.File("lines.txt");
  std::string longLine(5000, 'x');
  std::string edge(4095, 'y');  // its CR is the last byte of the first block, its LF the next
  WriteFile(name, "ab  \r\ncd\n" + longLine + "\r\n" + edge + "\r\n\t \nlast  ");
  TJValue f = e.New("File", {S(name)});
  Call(f, "open");
  EXPECT_EQ(Text(Call(f, "readln")), "ab");
  EXPECT_EQ(Text(Call(f, "readln")), "cd");
  EXPECT_EQ(Text(Call(f, "readln")), longLine);
  Call(f, "seek", {I(0)});
  WriteFile(name, edge + "\r\nz");
  Call(f, "close");
  Call(f, "open");
  EXPECT_EQ(Text(Call(f, "readln")), edge);
  EXPECT_EQ(Text(Call(f, "readln")), "z");
  EXPECT_TRUE(Call(f, "eof").vBool());
  EXPECT_EQ(Text(Call(f, "readln")), "");

  // Without a line feed the end of the file ends the line as it is.
  WriteFile(name, "\t \nlast  ");
  Call(f, "close");
  Call(f, "open");
  EXPECT_EQ(Text(Call(f, "readln")), "");
  EXPECT_EQ(Text(Call(f, "readln")), "last  ");
}

TEST(FileObject, WritingNeverTruncatesAndCountsBytes) {
  FilesEngine e;
  TempFolder dir;
  std::string name = dir.File("out.txt");
  TJValue f = e.New("File", {S(name)});
  EXPECT_FALSE(Call(f, "exists").vBool());
  Call(f, "open", {S("W")});  // a missing file is made
  EXPECT_TRUE(Call(f, "canWrite").vBool());
  EXPECT_FALSE(Call(f, "canRead").vBool());
  EXPECT_EQ(Call(f, "write", {S("abcdef")}).vInteger(), 6);
  EXPECT_EQ(Call(f, "writeln", {S("\xE3\x81\x82")}).vInteger(), 5);
  EXPECT_EQ(Call(f, "write").vInteger(), 0);
  EXPECT_EQ(Call(f, "writeln").vInteger(), 2);
  EXPECT_EQ(Get(f, "length").vInteger(), 13);
  EXPECT_TRUE(Call(f, "flush").vBool());
  Call(f, "close");
  EXPECT_EQ(ReadFile(name), "abcdef\xE3\x81\x82\r\n\r\n");
  // Opening for writing again starts at the beginning and keeps the rest of the old bytes.
  Call(f, "open", {S("wd")});
  Call(f, "write", {S("XY")});
  Call(f, "close");
  EXPECT_EQ(ReadFile(name), "XYcdef\xE3\x81\x82\r\n\r\n");
  // A file opened for reading refuses writes.
  Call(f, "open");
  EXPECT_EQ(ErrorOf([&] { Call(f, "write", {S("no")}); }), "EFileError:write error: " + name);
  Call(f, "close");
  EXPECT_EQ(ReadFile(name), "XYcdef\xE3\x81\x82\r\n\r\n");
}

TEST(FileObject, ClosedAndMissingFiles) {
  FilesEngine e;
  TempFolder dir;
  std::string name = dir.File("absent.txt");
  TJValue f = e.New("File", {S(name)});
  EXPECT_EQ(Get(f, "length").vInteger(), 0);
  TJValue first = Get(f, "lastModified");
  auto* modified = dynamic_cast<stdlib::TJDateObject*>(first.vObject());
  ASSERT_NE(modified, nullptr);
  EXPECT_LT(std::abs(modified->Time() - stdlib::NowEpochMs()), 60000);  // now, for a missing file
  EXPECT_NE(Get(f, "lastModified").vObject(), modified);                 // a new Date each time
  EXPECT_EQ(ErrorOf([&] { Call(f, "open"); }), "EFileError:can not open: " + name);
  EXPECT_FALSE(Call(f, "isOpened").vBool());
  EXPECT_FALSE(Call(f, "flush").vBool());
  for (const char* method : {"read", "readln"})
    EXPECT_EQ(ErrorOf([&] { Call(f, method); }), "EFileError:read error: " + name) << method;
  for (const char* method : {"write", "writeln"})
    EXPECT_EQ(ErrorOf([&] { Call(f, method, {S("x")}); }), "EFileError:write error: " + name) << method;
  EXPECT_EQ(ErrorOf([&] { Call(f, "eof"); }), "EFileError:eof error: " + name);
  EXPECT_EQ(ErrorOf([&] { Call(f, "seek", {I(0)}); }), "EFileError:seek error: " + name);
  EXPECT_EQ(ErrorOf([&] { Call(f, "remove"); }), "EFileError:remove error: " + name);
  EXPECT_FALSE(Call(f, "canRead").vBool());
  EXPECT_FALSE(Call(f, "canWrite").vBool());

  // A folder is no file: it does not exist as one, cannot be opened or removed.
  TJValue d = e.New("File", {S(dir.path.string())});
  EXPECT_FALSE(Call(d, "exists").vBool());
  EXPECT_TRUE(Call(d, "exists", {S(dir.path.string() + "/..")}).vBool() == false);
  EXPECT_EQ(ErrorOf([&] { Call(d, "open"); }), "EFileError:can not open: " + dir.path.string());
  EXPECT_EQ(ErrorOf([&] { Call(d, "open", {S("w")}); }), "EFileError:can not open: " + dir.path.string());
  EXPECT_EQ(ErrorOf([&] { Call(d, "remove"); }), "EFileError:remove error: " + dir.path.string());
  EXPECT_TRUE(fs::is_directory(dir.path));
  EXPECT_EQ(ErrorOf([&] { Call(e.New("File"), "open"); }), "EFileError:can not open: ");
}

TEST(FileObject, RenameNeverReplacesCopyReplacesWhole) {
  FilesEngine e;
  TempFolder dir;
  std::string a = dir.File("a.txt"), b = dir.File("b.txt"), c = dir.File("c.txt");
  WriteFile(a, "AAA");
  WriteFile(b, "BBB");
  TJValue f = e.New("File", {S(a)});
  Call(f, "open");
  EXPECT_EQ(ErrorOf([&] { Call(f, "renameTo", {S(b)}); }), "EFileError:rename error: " + a);
  EXPECT_EQ(ReadFile(a), "AAA");
  EXPECT_EQ(ReadFile(b), "BBB");
  EXPECT_FALSE(Call(f, "isOpened").vBool());  // the rename closed it first
  EXPECT_EQ(ErrorOf([&] { Call(f, "renameTo"); }), "EFileError:rename error: " + a);
  EXPECT_TRUE(Call(f, "renameTo", {S(c)}).vBool());
  EXPECT_EQ(Text(Get(f, "filename")), c);
  EXPECT_FALSE(fs::exists(a));
  EXPECT_EQ(ReadFile(c), "AAA");

  EXPECT_TRUE(Call(f, "copyTo", {S(b)}).vBool());  // over an existing file
  EXPECT_EQ(ReadFile(b), "AAA");
  EXPECT_EQ(ErrorOf([&] { Call(f, "copyTo", {S(c)}); }), "EFileError:copy error: " + c);  // onto itself
  EXPECT_EQ(ReadFile(c), "AAA");
  EXPECT_EQ(ErrorOf([&] { Call(f, "copyTo", {S(dir.File("no/such/x"))}); }), "EFileError:copy error: " + c);
  EXPECT_EQ(ErrorOf([&] { Call(f, "copyTo"); }), "EFileError:copy error: " + c);
  TJValue missing = e.New("File", {S(a)});
  EXPECT_EQ(ErrorOf([&] { Call(missing, "copyTo", {S(b)}); }), "EFileError:copy error: " + a);
  EXPECT_EQ(ReadFile(b), "AAA");
  EXPECT_TRUE(Call(f, "remove").vBool());
  EXPECT_FALSE(fs::exists(c));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);  // b.txt alone
}

// The names in a folder, sorted.
std::vector<std::string> FolderNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A copy killed part way, with a file system that has unnamed files and with one that has not:
// the target is the old file, and nothing else is left in the folder.
TEST(FileObject, ACopyKilledPartWayLeavesOnlyTheOldTarget) {
  for (bool named : {false, true}) {
    TempFolder dir;
    std::string source = dir.File("big.bin"), target = dir.File("target.bin");
    WriteFile(source, std::string(4 << 20, 'n'));
    WriteFile(target, "old target");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      FilesEngine e;
      support::testing::NoUnnamedFiles = named;
      support::testing::BlockSize = 65536;
      support::testing::AfterBlockWritten = [](size_t written) {
        if (written >= (1 << 20)) raise(SIGKILL);
      };
      Call(e.New("File", {S(source)}), "copyTo", {S(target)});
      _exit(0);  // not reached when the kill came
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << named;
    EXPECT_EQ(WTERMSIG(status), SIGKILL);
    EXPECT_EQ(ReadFile(target), "old target");
    if (!named) EXPECT_EQ(FolderNames(dir.path), (std::vector<std::string>{"big.bin", "target.bin"}));
  }
}

TEST(FileObject, FileNameParts) {
  FilesEngine e;
  TJValue f = e.New("File", {S("/home/user/doc.tar.gz")});
  struct Case {
    const char* method;
    const char* argument;  // null: the object's own name
    const char* expected;
  } cases[] = {
      {"extractName", nullptr, "doc.tar.gz"},
      {"extractPath", nullptr, "/home/user/"},
      {"extractDir", nullptr, "/home/user"},
      {"extractExt", nullptr, ".gz"},
      {"extractDrive", nullptr, ""},
      {"extractName", "plain", "plain"},
      {"extractPath", "plain", ""},
      {"extractDir", "/top.txt", "/"},
      {"extractExt", "dir.d/name", ""},
      {"extractExt", ".profile", ".profile"},
      {"extractName", "folder/", ""},
  };
  for (const Case& c : cases) {
    TJValue r = c.argument ? Call(f, c.method, {S(c.argument)}) : Call(f, c.method);
    EXPECT_EQ(Text(r), c.expected) << c.method << " " << (c.argument ? c.argument : "");
  }
  EXPECT_EQ(Text(Call(f, "changeExt", {S(".bak")})), "/home/user/doc.tar.bak");
  EXPECT_EQ(Text(Call(f, "changeExt", {S("a/b"), S(".txt")})), "a/b.txt");
  EXPECT_EQ(Text(Call(f, "changeExt", {S("a.d/b"), S("")})), "a.d/b");
  TJValue none = Call(f, "changeExt");
  EXPECT_TRUE(IsNull(&none));
  EXPECT_EQ(Text(Call(f, "expandUNCFilename", {S("/a/./b/../c")})), "/a/c");
  std::string cwd = fs::current_path().string();
  EXPECT_EQ(Text(Call(f, "expandUNCFilename", {S("x/../y.txt")})), cwd + "/y.txt");
  EXPECT_EQ(Text(Call(f, "extractShortPathName", {S(cwd)})), cwd);
  EXPECT_EQ(Text(Call(f, "extractShortPathName", {S(cwd + "/no such file")})), "");
  Put(f, "path", S("other.txt"));
  EXPECT_EQ(Text(Get(f, "filename")), "other.txt");
  EXPECT_EQ(Text(Call(f, "toString")), "other.txt");
}
