#include <gtest/gtest.h>

#include "platform/rt/paths.h"

TEST(Paths, ExecutableFolder) {
  std::string dir = rt::exeDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), '/');
  EXPECT_EQ(rt::exePath().substr(0, dir.size()), dir);
}

TEST(Paths, FileNameParts) {
  EXPECT_EQ(rt::extractFilePath("/a/b/c.txt"), "/a/b/");
  EXPECT_EQ(rt::extractFilePath("c.txt"), "");
  EXPECT_EQ(rt::changeFileExt("/a/b.c/d.brs", ".bin"), "/a/b.c/d.bin");
  EXPECT_EQ(rt::changeFileExt("/a/b.c/d", ".bin"), "/a/b.c/d.bin");
  EXPECT_EQ(rt::changeFileExt("x.txt", ""), "x");
}
