// The reference under docs/reference names everything a script can reach: every constructor and
// ready-made object the engine knows, and every method, property and event of the objects they
// make or hand out. The names come from the programs themselves (brsw lists its classes, and a
// script walks them), so a name added to the engine without a word in the reference fails here.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/docs/markdown.h"
#include "tests/tools/run_program.h"

namespace {

namespace fs = std::filesystem;
using docs_test::Section;

const fs::path kSource = BR_SOURCE_DIR;

// Classes no host can make from a script alone: an Enumerator walks an automation collection, and
// the hosts register no automation server that hands one out.
const std::set<std::string> kUnmadeAllowed = {"Enumerator"};

struct Walk {
  std::map<std::string, std::set<std::string>> names;  // label -> names
  std::vector<std::string> problems;
  std::string log;
};

Walk WalkNames() {
  Walk walk;
  testing_tools::ProgramOutcome classes = testing_tools::RunProgram({{BRSW_PATH, "--list-classes"}});
  if (!classes.Exited(0)) {
    walk.problems.push_back("brsw --list-classes: " + classes.Describe() + " " + classes.err);
    return walk;
  }
  std::vector<std::string> args = {BRSW_PATH, (kSource / "tests/docs/walk_names.brs").string()};
  std::istringstream lines(classes.out);
  std::string line;
  while (std::getline(lines, line)) {
    size_t tab = line.find('\t');
    if (tab != std::string::npos) args.push_back(line.substr(0, tab) + ":" + line.substr(tab + 1));
  }
  fs::path folder = fs::path(BR_BINARY_DIR) / "tests/docs/walk";
  fs::create_directories(folder);
  testing_tools::ProgramOutcome run = testing_tools::RunProgram({args, {{"QT_QPA_PLATFORM", "offscreen"}}, {}, folder.string()});
  walk.log = run.err;
  if (!run.Exited(0)) walk.problems.push_back("the walk ended with " + run.Describe() + ": " + run.err);
  std::istringstream out(run.out);
  while (std::getline(out, line)) {
    std::vector<std::string> parts;
    std::istringstream fields(line);
    std::string field;
    while (std::getline(fields, field, '\t')) parts.push_back(field);
    if (parts.size() != 3) continue;
    if (parts[1] == "unmade" || parts[1] == "unlisted") {
      if (!kUnmadeAllowed.count(parts[0])) walk.problems.push_back(parts[0] + " could not be walked: " + parts[2]);
      continue;
    }
    walk.names[parts[0]].insert(parts[2]);
  }
  return walk;
}

std::vector<Section> ReadReference() {
  std::vector<Section> all;
  for (const auto& entry : fs::directory_iterator(kSource / "docs/reference")) {
    if (entry.path().extension() != ".md") continue;
    std::string page = entry.path().filename().string();
    std::vector<Section> sections = docs_test::ReadSections(page, docs_test::ReadText(entry.path().string()));
    // The links of the sections around a section hold for it too.
    for (Section& s : sections)
      for (int up = s.parent; up >= 0; up = sections[size_t(up)].parent)
        s.shared.insert(s.shared.end(), sections[size_t(up)].shared.begin(), sections[size_t(up)].shared.end());
    all.insert(all.end(), sections.begin(), sections.end());
  }
  return all;
}

TEST(Reference, NamesEveryClassMethodPropertyAndEvent) {
  Walk walk = WalkNames();
  for (const std::string& problem : walk.problems) ADD_FAILURE() << problem;
  ASSERT_GT(walk.names.size(), 50u) << "the walk found too little:\n" << walk.log;
  std::vector<Section> sections = ReadReference();

  std::map<std::pair<std::string, std::string>, const Section*> byAnchor;
  std::map<std::string, std::vector<const Section*>> byLabel;
  for (const Section& s : sections) {
    byAnchor[{s.page, s.anchor}] = &s;
    for (const std::string& label : s.labels) byLabel[label].push_back(&s);
  }
  // Every object has the members of Object.
  std::set<std::string> everyObject;
  for (const Section* s : byLabel["Object"]) everyObject.insert(s->words.begin(), s->words.end());
  EXPECT_FALSE(everyObject.empty()) << "no section for `Object`";

  std::ostringstream missing;
  int count = 0;
  for (const auto& [label, names] : walk.names) {
    auto found = byLabel.find(label);
    if (found == byLabel.end()) {
      missing << "no section whose heading names `" << label << "` (" << names.size() << " names)\n";
      ++count;
      continue;
    }
    std::set<std::string> words = everyObject;
    std::vector<const Section*> pending(found->second.begin(), found->second.end());
    std::set<const Section*> visited;
    while (!pending.empty()) {
      const Section* s = pending.back();
      pending.pop_back();
      if (!visited.insert(s).second) continue;
      words.insert(s->words.begin(), s->words.end());
      for (const auto& [page, anchor] : s->shared) {
        auto target = byAnchor.find({page, anchor});
        if (target == byAnchor.end())
          ADD_FAILURE() << s->page << " \"" << s->heading << "\": the link " << page << "#" << anchor << " leads nowhere";
        else
          pending.push_back(target->second);
      }
    }
    for (const std::string& name : names) {
      if (words.count(name)) continue;
      missing << label << ": " << name << "\n";
      ++count;
    }
  }
  EXPECT_EQ(count, 0) << count << " names are missing from docs/reference:\n" << missing.str();
}

}  // namespace
