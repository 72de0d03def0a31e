// What the documentation tests read from the Markdown pages: sections under their headings with
// the code spans in them, links, and fenced code blocks.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace docs_test {

std::string ReadText(const std::string& path);

// A heading's anchor as page links write it: lower case, letters, digits, "-" and "_" kept,
// spaces as "-", everything else dropped.
std::string Anchor(const std::string& heading);

struct Section {
  std::string page;     // file name, e.g. "standard.md"
  std::string heading;  // the heading's text
  std::string anchor;
  int level = 0;
  std::vector<std::string> labels;  // the heading's code spans, as written
  std::set<std::string> words;      // every identifier inside a code span of the section
  std::vector<std::pair<std::string, std::string>> shared;  // (page, anchor) of its "Also:" links
  int parent = -1;  // the enclosing section's index on its page; its "Also:" links hold here too
};

// The sections of one page; a section runs to the next heading of its level or above, so it
// holds its sub-sections' words too. A line starting with "Also:" names, by its links, sections
// whose members count as this section's (and its sub-sections').
std::vector<Section> ReadSections(const std::string& page, const std::string& text);

struct CodeBlock {
  std::string page;
  int line = 0;       // of the opening fence
  std::string info;   // the fence's info string ("brs", "brsw", "output exit=1"...)
  std::string text;
};

std::vector<CodeBlock> ReadCodeBlocks(const std::string& page, const std::string& text);

}  // namespace docs_test
