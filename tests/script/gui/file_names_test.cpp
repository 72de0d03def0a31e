// Forms and tree views read and write files a script names; a name holding a NUL byte would reach
// the file named by what comes before it, so it is refused and that file stays as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/script/gui/gui_fixture.h"

namespace {

namespace fsys = std::filesystem;

std::string ReadFile(const fsys::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(GuiFileNames, NamesHoldingANulReachNoFile) {
  fsys::path dir = fsys::temp_directory_path() / ("gui_names_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  const std::string form = (dir / "form.dfm").string(), tree = (dir / "tree.txt").string();
  const std::string formText = "object Kept: TForm\r\n  Caption = 'kept'\r\nend\r\n";
  std::ofstream(form, std::ios::binary) << formText;
  std::ofstream(tree, std::ios::binary) << "kept\r\n\tchild\r\n";
  guitest::TGuiScript s;
  auto r = s.Run("var NUL = String.fromCharCode(0), form = '" + form + "' + NUL + 'x', tree = '" + tree +
                 "' + NUL + 'x';\n" + R"(
    var f = new VCLForm();
    f.loadFromText("object Other: TForm\n Caption = 'other'\nend\n");
    try { f.saveToFile(form); } catch (e) { println("form save " + e); }
    try { f.loadFromFile(form); } catch (e) { println("form load " + e); }
    println(f.Caption);
    var tv = new VCLTreeView();
    tv.Items.add(null, "other");
    try { tv.saveToFile(tree); } catch (e) { println("tree save " + e); }
    try { tv.loadFromFile(tree); } catch (e) { println("tree load " + e); }
    println(tv.Items.Count + " " + tv.Items.getFirstNode().Text);
  )");
  EXPECT_EQ(r.out,
            "form save EVCLError\r\nform load EVCLError\r\nother\r\n"
            "tree save EVCLError\r\ntree load EVCLError\r\n1 other\r\n")
      << r.err;
  EXPECT_EQ(ReadFile(form), formText);
  EXPECT_EQ(ReadFile(tree), "kept\r\n\tchild\r\n");
  fsys::remove_all(dir);
}

// Forms and tree views are read whole: a pipe or a device (which never ends) is no file to read,
// and the object stays as it was instead of waiting or filling memory.
TEST(GuiFileNames, PipesAndDevicesAreNoFilesToLoad) {
  fsys::path dir = fsys::temp_directory_path() / ("gui_special_" + std::to_string(::getpid()));
  fsys::create_directories(dir);
  const std::string fifo = (dir / "pipe").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  guitest::TGuiScript s;
  auto r = s.Run("var names = ['/dev/zero', '" + fifo + "'];\n" + R"(
    var f = new VCLForm();
    f.Caption = "kept";
    var tv = new VCLTreeView();
    tv.Items.add(null, "kept");
    for (var i = 0; i < names.length; i++) {
      try { f.loadFromFile(names[i]); } catch (e) { println("form " + e); }
      try { tv.loadFromFile(names[i]); } catch (e) { println("tree " + e); }
    }
    println(f.Caption + " " + tv.Items.Count + " " + tv.Items.getFirstNode().Text);
  )");
  EXPECT_EQ(r.out, "form EVCLError\r\ntree EVCLError\r\nform EVCLError\r\ntree EVCLError\r\nkept 1 kept\r\n") << r.err;
  fsys::remove_all(dir);
}

}  // namespace
