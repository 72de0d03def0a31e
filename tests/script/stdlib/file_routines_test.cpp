#include "script/stdlib/file_routines.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/rt/exception.h"

using namespace stdlib;
namespace fs = std::filesystem;

namespace {

// A fresh folder for one test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string templ = (fs::temp_directory_path() / "brs-folders-XXXXXX").string();
    path_ = mkdtemp(templ.data());
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace

TEST(FolderRoutines, CreatesEveryMissingParent) {
  TempFolder tmp;
  EXPECT_TRUE(IsDirectory(tmp.path()));
  EXPECT_FALSE(IsDirectory(tmp / "a"));
  EXPECT_TRUE(CreateDirectoryPath(tmp / "a/b/c/"));
  EXPECT_TRUE(IsDirectory(tmp / "a/b/c"));
  // An existing folder, the root, doubled separators.
  EXPECT_TRUE(CreateDirectoryPath(tmp / "a/b"));
  EXPECT_TRUE(CreateDirectoryPath("/"));
  EXPECT_TRUE(CreateDirectoryPath(tmp / "x//y"));
  EXPECT_TRUE(IsDirectory(tmp / "x/y"));
}

TEST(FolderRoutines, ShortAndRelativePathsAreReallyCreated) {
  TempFolder tmp;
  std::string saved = fs::current_path().string();
  ASSERT_EQ(chdir(tmp.path().c_str()), 0);
  bool bare = CreateDirectoryPath("n");
  bool nested = CreateDirectoryPath("p/q");
  ASSERT_EQ(chdir(saved.c_str()), 0);
  EXPECT_TRUE(bare);
  EXPECT_TRUE(nested);
  EXPECT_TRUE(IsDirectory(tmp / "n"));
  EXPECT_TRUE(IsDirectory(tmp / "p/q"));
}

TEST(FolderRoutines, FailuresAnswerFalseAndAnEmptyPathRaises) {
  TempFolder tmp;
  std::ofstream(tmp / "file") << "x";
  EXPECT_FALSE(IsDirectory(tmp / "file"));
  EXPECT_FALSE(CreateDirectoryPath(tmp / "file"));
  EXPECT_FALSE(CreateDirectoryPath(tmp / "file/sub"));
  EXPECT_FALSE(IsDirectory(""));
  try {
    CreateDirectoryPath("");
    ADD_FAILURE() << "no exception";
  } catch (const rt::Exception& e) {
    EXPECT_EQ(e.message(), "Cannot Create Dir");
  }
}

TEST(FolderRoutines, AnOverlongPathIsRefusedWithoutCreatingAnything) {
  TempFolder tmp;
  std::string deep = tmp / "";
  while (deep.size() < (1u << 21)) deep += "d/";
  EXPECT_FALSE(CreateDirectoryPath(deep));
  EXPECT_FALSE(IsDirectory(tmp / "d"));
  // A long path within the limit still works.
  std::string nested = tmp / "";
  for (int i = 0; i < 100; ++i) nested += "e/";
  EXPECT_TRUE(CreateDirectoryPath(nested));
  EXPECT_TRUE(IsDirectory(nested));
}
