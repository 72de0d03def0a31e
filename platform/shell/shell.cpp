#include "platform/shell/shell.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/rt/utf8.h"

extern char** environ;

namespace shell {

namespace {

IProcessLauncher*& installed() {
  static IProcessLauncher* launcher = nullptr;
  return launcher;
}

bool isExecutableFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

// A scheme of two or more characters and a colon ("https:", "mailto:"): a one-letter scheme
// would be a drive letter where scripts come from.
bool looksLikeUrl(const std::string& text) {
  auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); };
  size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2 || !letter(text[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    char c = text[i];
    if (!letter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') return false;
  }
  return true;
}

// Whether the document is there as the opener, started in `folder`, would look for it.
bool documentExists(const std::string& file, const std::string& folder) {
  std::string path = file[0] == '/' || folder.empty() ? file : folder + "/" + file;
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
      word += line[++i];
      inWord = true;
    } else if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t' || c == '\r' || c == '\n') && !quoted) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return "";
  if (name.find('/') != std::string::npos) return isExecutableFile(name) ? name : "";
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    std::string dir = end > start ? dirs.substr(start, end - start) : ".";
    std::string candidate = dir + "/" + name;
    if (isExecutableFile(candidate)) return candidate;
    start = end + 1;
  }
  return "";
}

bool TPosixLauncher::Start(const std::vector<std::string>& argv, const std::string& folder) {
  if (argv.empty() || argv[0].empty()) return false;
  // Everything the new process needs is made before fork: between fork and exec only calls that
  // are safe in a copy of a threaded process run.
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  const char* program = argv[0].c_str();
  const char* dir = folder.empty() ? nullptr : folder.c_str();
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  pid_t child = ::fork();
  if (child < 0) {
    ::close(report[0]);
    ::close(report[1]);
    return false;
  }
  if (child == 0) {
    // The intermediate process: starts the program and ends at once, so the program is adopted by
    // init and never waits as a zombie of ours.
    ::close(report[0]);
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      int error = 0;
      if (dir && ::chdir(dir) != 0)
        error = errno;
      else {
        ::execve(program, args.data(), environ);
        error = errno;
      }
      ssize_t ignored = ::write(report[1], &error, sizeof error);
      (void)ignored;
      ::_exit(127);
    }
    if (grandchild < 0) {
      int error = errno;
      ssize_t ignored = ::write(report[1], &error, sizeof error);
      (void)ignored;
    }
    ::_exit(0);
  }
  ::close(report[1]);
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // The pipe closes on a successful exec (close-on-exec) and carries the error otherwise.
  int error = 0;
  ssize_t n;
  while ((n = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return n == 0;
}

IProcessLauncher& Launcher() {
  static TPosixLauncher posix;
  return installed() ? *installed() : posix;
}

void SetLauncher(IProcessLauncher* launcher) { installed() = launcher; }

bool Execute(const std::string& commandLine) {
  std::vector<std::string> words = SplitCommandLine(commandLine);
  if (words.empty()) return false;
  std::string program = FindProgram(words[0]);
  if (program.empty()) return false;
  words[0] = program;
  return Launcher().Start(words, "");
}

bool ShellExecute(const std::string& operation, const std::string& file, const std::string& parameters,
                  const std::string& folder) {
  // The system sees a name only up to a NUL: such a name would open another file.
  if (file.empty() || file.find('\0') != std::string::npos || folder.find('\0') != std::string::npos) return false;
  std::string op = operation;
  for (char& c : op) c = rt::asciiLower(c);
  if (op.empty() || op == "open") {
    // A relative program name is looked for in the given folder first, where it would start.
    std::string program;
    if (!folder.empty() && file.find('/') != std::string::npos && file[0] != '/')
      program = FindProgram(folder + "/" + file);
    if (program.empty()) program = FindProgram(file);
    if (!program.empty()) {
      std::vector<std::string> argv{program};
      for (std::string& w : SplitCommandLine(parameters)) argv.push_back(std::move(w));
      return Launcher().Start(argv, folder);
    }
  } else if (op != "edit" && op != "explore") {
    return false;
  }
  // A missing document is "file not found": the opener is not started for it (it would only
  // report the failure to nobody, after the caller was told it opened).
  bool document = documentExists(file, folder);
  if (!document && !looksLikeUrl(file)) return false;
  std::string opener = FindProgram("xdg-open");
  if (opener.empty()) return false;
  // A document's name reaches the opener as a path: one beginning with "-" would be read as an
  // option, one with a colon early on ("notes:v2.txt") as a URL, and neither would open.
  std::string target = file;
  if (document && file[0] != '/' && (file[0] == '-' || looksLikeUrl(file))) target = "./" + file;
  return Launcher().Start({opener, target}, folder);
}

}  // namespace shell
