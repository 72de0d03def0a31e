#include "tests/docs/markdown.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace docs_test {

namespace {

bool IsWordChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }

void AddWords(const std::string& span, std::set<std::string>& words) {
  size_t i = 0;
  while (i < span.size()) {
    if (IsWordChar(span[i]) && !std::isdigit(static_cast<unsigned char>(span[i]))) {
      size_t start = i;
      while (i < span.size() && IsWordChar(span[i])) ++i;
      words.insert(span.substr(start, i - start));
    } else {
      ++i;
    }
  }
}

// The code spans of one line of text.
std::vector<std::string> CodeSpans(const std::string& line) {
  std::vector<std::string> spans;
  size_t at = 0;
  while ((at = line.find('`', at)) != std::string::npos) {
    size_t end = line.find('`', at + 1);
    if (end == std::string::npos) break;
    spans.push_back(line.substr(at + 1, end - at - 1));
    at = end + 1;
  }
  return spans;
}

bool IsFence(const std::string& line) { return line.rfind("```", 0) == 0; }

}  // namespace

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (char c : heading) {
    unsigned char u = static_cast<unsigned char>(c);
    if (std::isalnum(u) || c == '-' || c == '_' || u >= 0x80)
      anchor += char(std::tolower(u));
    else if (c == ' ')
      anchor += '-';
  }
  return anchor;
}

std::vector<Section> ReadSections(const std::string& page, const std::string& text) {
  std::vector<Section> sections;
  std::istringstream in(text);
  std::string line;
  bool inFence = false;
  std::vector<size_t> open;  // sections still collecting, outermost first
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsFence(line)) {
      inFence = !inFence;
      continue;
    }
    if (!inFence && line.rfind("#", 0) == 0) {
      size_t level = line.find_first_not_of('#');
      if (level != std::string::npos && line[level] == ' ') {
        Section s;
        s.page = page;
        s.level = int(level);
        s.heading = line.substr(level + 1);
        s.anchor = Anchor(s.heading);
        s.labels = CodeSpans(s.heading);
        while (!open.empty() && sections[open.back()].level >= s.level) open.pop_back();
        s.parent = open.empty() ? -1 : int(open.back());
        sections.push_back(s);
        open.push_back(sections.size() - 1);
      }
    }
    if (inFence) continue;
    for (size_t index : open) {
      for (const std::string& span : CodeSpans(line)) AddWords(span, sections[index].words);
      if (line.rfind("Also:", 0) == 0 && index == open.back()) {
        size_t at = 0;
        while ((at = line.find("](", at)) != std::string::npos) {
          size_t end = line.find(')', at);
          if (end == std::string::npos) break;
          std::string target = line.substr(at + 2, end - at - 2);
          size_t hash = target.find('#');
          std::string targetPage = hash == std::string::npos ? target : target.substr(0, hash);
          if (targetPage.empty()) targetPage = page;
          sections[index].shared.emplace_back(targetPage, hash == std::string::npos ? "" : target.substr(hash + 1));
          at = end;
        }
      }
    }
  }
  return sections;
}

std::vector<CodeBlock> ReadCodeBlocks(const std::string& page, const std::string& text) {
  std::vector<CodeBlock> blocks;
  std::istringstream in(text);
  std::string line;
  int number = 0;
  CodeBlock* current = nullptr;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (IsFence(line)) {
      if (current) {
        current = nullptr;
      } else {
        blocks.push_back({page, number, line.substr(3), ""});
        current = &blocks.back();
      }
      continue;
    }
    if (current) current->text += line + "\n";
  }
  return blocks;
}

}  // namespace docs_test
