// The per-user registry store: key and value rules, the file it writes, crashes in the middle of a
// write, and several processes writing at once.
#include "platform/registry/registry_store.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/replace_file.h"
#include "tests/support/temp_dir.h"

namespace registry {
namespace {

using support_test::readFile;
using support_test::TempDir;

class RegistryStoreTest : public ::testing::Test {
 protected:
  TempDir dir;
  std::string path = dir.file("cfg/brscript/registry.reg");
  TRegistryStore store{path};
};

TEST_F(RegistryStoreTest, KeysAndValuesIgnoreCaseAndKeepTheirFirstSpelling) {
  EXPECT_FALSE(store.KeyExists("Software\\App"));
  std::string v;
  EXPECT_FALSE(store.ReadValue("Software\\App", "x", v));  // nothing written yet: no file, no folder
  store.WriteValue("Software\\App\\Settings", "Name", "first");
  store.WriteValue("SOFTWARE\\app\\settings", "NAME", "second");
  store.WriteValue("software\\APP\\Window", "Top", "10");
  store.WriteValue("\\Software\\\\App\\", "Root", "r");  // empty parts dropped
  EXPECT_TRUE(store.KeyExists("software"));  // a beginning of a header is a key too
  EXPECT_TRUE(store.KeyExists("Software\\App\\SETTINGS"));
  EXPECT_FALSE(store.KeyExists("Software\\Ap"));
  EXPECT_EQ(store.SubKeys("software\\app"), (std::vector<std::string>{"Settings", "Window"}));
  EXPECT_EQ(store.SubKeys(""), (std::vector<std::string>{"Software"}));
  ASSERT_TRUE(store.ReadValue("Software\\App\\Settings", "name", v));
  EXPECT_EQ(v, "second");
  EXPECT_EQ(store.ValueNames("Software\\App\\Settings"), (std::vector<std::string>{"Name"}));
  EXPECT_EQ(store.ValueNames("Software\\App"), (std::vector<std::string>{"Root"}));
  EXPECT_EQ(readFile(path),
            "; registry store v1\n[HKEY_CURRENT_USER\\Software\\App]\n\"Root\"=\"r\"\n"
            "[HKEY_CURRENT_USER\\Software\\App\\Settings]\n\"Name\"=\"second\"\n"
            "[HKEY_CURRENT_USER\\Software\\App\\Window]\n\"Top\"=\"10\"\n");

  EXPECT_TRUE(store.DeleteValue("software\\app\\window", "TOP"));
  EXPECT_FALSE(store.DeleteValue("software\\app\\window", "TOP"));
  EXPECT_TRUE(store.KeyExists("Software\\App\\Window"));  // an empty key stays
  EXPECT_TRUE(store.DeleteKey("SOFTWARE\\APP"));
  EXPECT_FALSE(store.KeyExists("Software\\App\\Settings"));
  EXPECT_FALSE(store.DeleteKey("Software\\App"));
  EXPECT_FALSE(store.DeleteKey(""));  // the root stays
}

TEST_F(RegistryStoreTest, ValuesHoldAnyTextAndKeyNamesNoLineEnds) {
  std::string odd = "a \"quoted\" \\ path\r\nsecond line\n\"=\"[HKEY_CURRENT_USER\\Evil]";
  store.WriteValue("K", "name \"with\" = and \\", odd);
  store.WriteValue("K", "日本語", "値");
  TRegistryStore other(path);  // a second reader of the same file
  std::string v;
  ASSERT_TRUE(other.ReadValue("k", "NAME \"WITH\" = AND \\", v));
  EXPECT_EQ(v, odd);
  ASSERT_TRUE(other.ReadValue("k", "日本語", v));
  EXPECT_EQ(v, "値");
  EXPECT_FALSE(other.KeyExists("Evil"));
  EXPECT_THROW(store.WriteValue("K\nx", "a", "b"), ERegistryError);
}

TEST_F(RegistryStoreTest, SectionsOverAKey) {
  TRegIniFile ini("Software\\Game", TRegistryStore(path));
  EXPECT_FALSE(ini.SectionExists("Scores"));
  EXPECT_EQ(ini.ReadString("Scores", "best", "0"), "0");
  ini.WriteString("Scores", "best", "1200");
  ini.WriteString("Scores", "last", "300");
  ini.WriteString("Player", "name", "Hanako");
  ini.WriteString("", "top", "t");  // the key itself
  TRegIniFile other("software\\game", TRegistryStore(path));
  EXPECT_EQ(other.ReadString("scores", "BEST", "0"), "1200");  // written at once
  EXPECT_EQ(other.ReadSections(), (std::vector<std::string>{"Player", "Scores"}));
  EXPECT_EQ(other.ReadSection("Scores"), (std::vector<std::string>{"best", "last"}));
  EXPECT_EQ(other.ReadSection(""), (std::vector<std::string>{"top"}));
  other.DeleteKey("Scores", "LAST");
  other.EraseSection("player");
  EXPECT_EQ(ini.ReadSection("Scores"), (std::vector<std::string>{"best"}));
  EXPECT_FALSE(ini.SectionExists("Player"));
}

TEST_F(RegistryStoreTest, AWriterKilledPartWayLeavesTheStoreWhole) {
  store.WriteValue("K", "a", "1");
  std::string before = readFile(path);
  // In the middle of the new file, and with all of it written but not yet in place.
  for (size_t stage : {4096, 200000}) {
    pid_t child = ::fork();
    if (child == 0) {
      support::testing::BlockSize = 4096;
      support::testing::AfterBlockWritten = [stage](size_t written) {
        if (written >= stage) ::raise(SIGKILL);
      };
      TRegistryStore(path).WriteValue("K", "big", std::string(200000, 'x'));
      ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(readFile(path), before);
    // Nothing of the killed writer is left beside the store and its lock file.
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.file("cfg/brscript")))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"})) << stage;
  }
  // The killed writer's lock went with it: the next one is not held up.
  store.WriteValue("K", "b", "2");
  std::string v;
  EXPECT_TRUE(store.ReadValue("K", "a", v));
  EXPECT_FALSE(store.ReadValue("K", "big", v));
}

TEST_F(RegistryStoreTest, WritersInSeveralProcessesLoseNoValue) {
  constexpr int kProcesses = 4, kValues = 12;
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t child = ::fork();
    if (child == 0) {
      TRegistryStore mine(path);
      for (int i = 0; i < kValues; ++i)
        mine.WriteValue("Shared\\P" + std::to_string(p), "v" + std::to_string(i), std::to_string(p * 1000 + i));
      // Every process also writes into one key that all of them share.
      for (int i = 0; i < kValues; ++i) mine.WriteValue("Shared", "p" + std::to_string(p) + "_" + std::to_string(i), "x");
      ::_exit(0);
    }
    children.push_back(child);
  }
  for (pid_t c : children) {
    int status = 0;
    ::waitpid(c, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(store.SubKeys("Shared").size(), size_t(kProcesses));
  EXPECT_EQ(store.ValueNames("Shared").size(), size_t(kProcesses * kValues));
  for (int p = 0; p < kProcesses; ++p) {
    std::string v;
    ASSERT_TRUE(store.ReadValue("Shared\\P" + std::to_string(p), "v" + std::to_string(kValues - 1), v));
    EXPECT_EQ(v, std::to_string(p * 1000 + kValues - 1));
    EXPECT_EQ(store.ValueNames("Shared\\P" + std::to_string(p)).size(), size_t(kValues));
  }
}

TEST(RegistryStorePath, FollowsTheConfigFolder) {
  const char* old = std::getenv("XDG_CONFIG_HOME");
  std::string saved = old ? old : "";
  ::setenv("XDG_CONFIG_HOME", "/some/where", 1);
  EXPECT_EQ(TRegistryStore::DefaultPath(), "/some/where/brscript/registry.reg");
  ::setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as the base directory rules say
  EXPECT_NE(TRegistryStore::DefaultPath().find("/.config/brscript/registry.reg"), std::string::npos);
  if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace registry
