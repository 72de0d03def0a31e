#include "support/file_system.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/trash.h"
#include "tests/support/temp_dir.h"

using namespace support;
using support_test::readFile;
using support_test::TempDir;
using Strings = std::vector<std::string>;
namespace fs = std::filesystem;

namespace {

// A folder holding b.txt (3 bytes), A.TXT (1), .hidden (2), notes (4), sub/ and .git/.
void populate(const TempDir& dir) {
  dir.write("b.txt", "bbb");
  dir.write("A.TXT", "a");
  dir.write(".hidden", "hh");
  dir.write("notes", "nnnn");
  fs::create_directory(dir.file("sub"));
  fs::create_directory(dir.file(".git"));
  dir.write("sub/inner", "i");
}

// Sends trash moves into a folder of the test for the life of the object.
class TrashHome {
 public:
  explicit TrashHome(const std::string& path) {
    const char* old = std::getenv("XDG_DATA_HOME");
    had_ = old != nullptr;
    if (had_) saved_ = old;
    ::setenv("XDG_DATA_HOME", path.c_str(), 1);
  }
  ~TrashHome() {
    if (had_)
      ::setenv("XDG_DATA_HOME", saved_.c_str(), 1);
    else
      ::unsetenv("XDG_DATA_HOME");
  }

 private:
  bool had_;
  std::string saved_;
};

}  // namespace

TEST(FileSystem, Masks) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  } cases[] = {
      {"a.txt", "*.txt", true},     {"a.txt", "*.TXT", true},     {"README", "*.*", true},
      {"abc", "a?c", true},         {"ac", "a?c", false},         {"a.tx", "*.txt", false},
      {"aaa", "*a*a*a*", true},     {"aa", "*a*a*a*", false},     {"x", "", false},
      {"", "*", true},              {"report-2003.csv", "report-*.csv", true},
      {"\xe5\x90\x8d\xe5\x89\x8d.txt", "??.txt", true},  // one "?" per character
  };
  for (const Case& c : cases) EXPECT_EQ(MatchesMask(c.name, c.mask), c.match) << c.name << " " << c.mask;
}

TEST(FileSystem, SizesAndFolders) {
  TempDir dir;
  populate(dir);
  EXPECT_EQ(FileSizeOf(dir.file("missing")), 0);
  EXPECT_EQ(FileSizeOf(dir.file("notes")), 4);
  EXPECT_EQ(FileSizeOf(dir.file(".hidden")), 2);
  EXPECT_EQ(FileSizeOf(dir.file("sub")), 0);
  EXPECT_EQ(FileSizeOf(dir.file("*.txt")), 1);  // A.TXT comes first in name order
  EXPECT_EQ(FileSizeOf(dir.file("n*")), 4);
  EXPECT_EQ(FileSizeOf(dir.file("z*")), 0);
  EXPECT_TRUE(FolderExists(dir.path()));
  EXPECT_TRUE(FolderExists(dir.path() + "/"));
  EXPECT_FALSE(FolderExists(dir.file("notes")));
  EXPECT_FALSE(FolderExists(""));
  EXPECT_TRUE(IsFileEntry(faArchive | faReadOnly));
  EXPECT_FALSE(IsFileEntry(faDirectory));
  EXPECT_FALSE(IsFileEntry(faVolumeID));
  EXPECT_TRUE(IsFolderEntry(faDirectory | faHidden));
}

TEST(FileSystem, Listings) {
  TempDir dir;
  populate(dir);
  std::string p = dir.path() + "/";
  struct Case {
    int kind;
    std::string mask;
    Strings folders, files;
  } cases[] = {
      {1, "*.*", {}, {p + ".hidden", p + "A.TXT", p + "b.txt", p + "notes"}},
      {2, "*.*", {p + "sub"}, {p + "A.TXT", p + "b.txt", p + "notes"}},
      {4, "", {p + ".git", p + "sub"}, {p + ".hidden", p + "A.TXT", p + "b.txt", p + "notes"}},
      {0, "*.txt", {}, {p + "A.TXT", p + "b.txt"}},
      {4, "s*", {p + "sub"}, {}},
      // A mask that leads into a subfolder lists that subfolder.
      {1, "sub/*", {}, {p + "sub/inner"}},
      {1, "sub/i*", {}, {p + "sub/inner"}},
  };
  for (const Case& c : cases) {
    Strings folders{"stale"}, files{"stale"};
    ListFolderEntries(dir.path(), c.mask, c.kind, &folders, files);
    EXPECT_EQ(folders, c.folders) << c.kind << c.mask;
    EXPECT_EQ(files, c.files) << c.kind << c.mask;
  }
  // A trailing slash is not doubled; the folder list may be left out.
  Strings files;
  ListFolderEntries(p, "n*", 1, nullptr, files);
  EXPECT_EQ(files, Strings{p + "notes"});

  Strings folders{"untouched"};
  files = {"untouched"};
  ListFolderEntries(dir.file("missing"), "*.*", 4, &folders, files);
  EXPECT_EQ(folders, Strings{"untouched"});
  EXPECT_EQ(files, Strings{"untouched"});

  ListSubfolders(dir.path(), folders);
  EXPECT_EQ(folders, Strings{p + "sub"});
}

TEST(FileSystem, DeletingFolderItems) {
  TempDir dir;
  int asked = 0;
  bool answer = true;
  SetShellDeleteConfirm([&](intptr_t owner, const Strings& paths, bool toTrash) {
    ++asked;
    EXPECT_EQ(owner, 7);
    EXPECT_FALSE(toTrash);
    return answer;
  });

  fs::create_directory(dir.file("empty"));
  EXPECT_TRUE(DeleteFolderItems(7, dir.file("empty"), false, false, false));
  EXPECT_EQ(asked, 0);  // nothing to delete, nothing asked
  EXPECT_TRUE(FolderExists(dir.file("empty")));

  TempDir box;
  populate(box);
  answer = false;
  EXPECT_FALSE(DeleteFolderItems(7, box.path(), false, false, false));
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(FileSizeOf(box.file("notes")), 4);  // refused: all still there

  answer = true;
  EXPECT_TRUE(DeleteFolderItems(7, box.path(), false, false, false));
  EXPECT_EQ(asked, 2);
  EXPECT_TRUE(FolderExists(box.path()));
  EXPECT_TRUE(fs::is_empty(box.path()));

  fs::create_directory(dir.file("whole"));
  dir.write("whole/x", "x");
  EXPECT_TRUE(DeleteFolderItems(7, dir.file("whole") + "/", false, true, true));
  EXPECT_EQ(asked, 2);  // silent
  EXPECT_FALSE(fs::exists(dir.file("whole")));

  EXPECT_FALSE(DeleteFolderItems(7, dir.file("whole"), false, true, true));
  EXPECT_FALSE(ShellDelete(0, {"", dir.file("gone")}, false, true));
  EXPECT_TRUE(ShellDelete(0, {"", ""}, false, true));
  SetShellDeleteConfirm(nullptr);
}

TEST(FileSystem, DeletingToTheTrash) {
  TempDir home, work;
  TrashHome trashHome(home.path());
  EXPECT_EQ(TrashFolder(), home.path() + "/Trash");

  work.write("a b.txt", "first");
  fs::create_directory(work.file("folder"));
  work.write("folder/in", "x");
  ASSERT_TRUE(ShellDelete(0, {work.file("a b.txt"), work.file("folder")}, true, true));
  EXPECT_FALSE(fs::exists(work.file("a b.txt")));
  EXPECT_EQ(readFile(home.path() + "/Trash/files/a b.txt"), "first");
  EXPECT_EQ(readFile(home.path() + "/Trash/files/folder/in"), "x");
  std::string info = readFile(home.path() + "/Trash/info/a b.txt.trashinfo");
  EXPECT_EQ(info.rfind("[Trash Info]\nPath=", 0), 0u) << info;
  EXPECT_NE(info.find("Path=" + work.path() + "/a%20b.txt\n"), std::string::npos) << info;
  EXPECT_NE(info.find("\nDeletionDate="), std::string::npos);

  // A second item of the same name gets a name of its own.
  work.write("a b.txt", "second");
  ASSERT_TRUE(DeleteFolderItems(0, work.path(), true, true, false));
  EXPECT_EQ(readFile(home.path() + "/Trash/files/a b.txt.2"), "second");
  EXPECT_TRUE(fs::exists(home.path() + "/Trash/info/a b.txt.2.trashinfo"));
  EXPECT_TRUE(fs::is_empty(work.path()));
}
