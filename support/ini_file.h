// An ini file held in memory: sections of key=value lines, read from a file when made, changed in
// memory, and written back as a whole by UpdateFile (through a temporary file and a rename, so that
// a writer stopped part-way leaves the previous file whole).
//
// Section and key names are compared ignoring ASCII letter case and keep the case they were first
// written with. A line splits at its first "="; blanks around the key and the value are dropped.
// Comment lines (";" or "#") and other lines that are neither sections nor keys are kept where they
// were. Of two keys of one name the first counts; a section header seen twice continues the
// section. Files are written with CR LF line ends and a blank line after each section; any line end
// is read.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace support {

// A name or value the file format cannot hold, or a file that cannot be read or written.
class EIniFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TMemIniFile {
 public:
  // Reads the file; a file that does not exist gives an empty set. Throws EIniFileError when the
  // file exists but cannot be read, is no regular file (a folder, a pipe, a device), or when the
  // name holds a NUL byte.
  explicit TMemIniFile(std::string fileName);

  const std::string& FileName() const { return fileName_; }

  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  // The value, or `defaultValue` when the key is not there.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  // Sets the key's value, adding the section and the key as needed. Throws EIniFileError for a
  // section name holding "]" or a line end, an empty key or one holding "=" or a line end, or a
  // value holding a line end: written out, they would read back as other sections or keys.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& key);
  void EraseSection(const std::string& section);
  // The key names of the section, in file order (empty when there is no such section).
  std::vector<std::string> ReadSection(const std::string& section) const;
  std::vector<std::string> ReadSections() const;

  // The content as UpdateFile writes it, and replacing the content from text.
  std::string Text() const;
  void SetText(const std::string& text);
  // Writes the content to the file. Throws EIniFileError when it cannot.
  void UpdateFile() const;

 private:
  struct Line {
    bool isKey;
    std::string key;  // the key, or the whole line when it is no key
    std::string value;
  };
  struct Section {
    std::string name;
    std::vector<Line> lines;
  };
  Section* find(const std::string& name);
  const Section* find(const std::string& name) const;

  std::string fileName_;
  // The lines before the first section header come first, in a section with no name.
  std::vector<Section> sections_;
};

}  // namespace support
