#include "script/host/file_object.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/rt/persistent.h"
#include "script/core/exceptions.h"
#include "script/core/value_list.h"
#include "script/stdlib/date_object.h"
#include "script/host/file_name.h"
#include "script/stdlib/date_routines.h"
#include "support/file_system.h"
#include "support/regular_file.h"
#include "support/replace_file.h"

namespace host {

using namespace engine;
namespace fs = std::filesystem;

namespace {

constexpr int64_t kReadBlock = 65535;
constexpr int64_t kLineBlock = 4096;
using support::kUnboundedReadLimit;

bool isRegularFile(const std::string& name) {
  struct stat st;
  return !name.empty() && ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string lowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return s;
}

// Renames without replacing: an existing target makes the rename fail.
bool renameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the flag: a hard link cannot replace either, then the old name goes.
  if (::link(from.c_str(), to.c_str()) != 0) return false;
  if (::unlink(from.c_str()) != 0) {
    ::unlink(to.c_str());
    return false;
  }
  return true;
}

// Copies into a new file that takes the target's name only when it is whole: a copy that fails
// or is killed halfway leaves an existing target as it was, and nothing else behind. Only a
// regular file is copied, never onto itself. Like cp, a copy does not wait for the disk: a killed
// process loses nothing the kernel already holds, and copies of large files stay as fast as cp's.
bool copyReplacing(const std::string& from, const std::string& to) {
  int in = support::OpenRegularFile(from);
  if (in < 0) return false;
  struct stat source, target;
  bool ok = ::fstat(in, &source) == 0 &&
            !(::stat(to.c_str(), &target) == 0 && target.st_dev == source.st_dev && target.st_ino == source.st_ino);
  support::TReplacingWriter out;
  ok = ok && out.Open(to, nullptr, false) && out.CopyFrom(in);
  ::close(in);
  return ok && out.Commit();
}

// Trailing white space and control characters (bytes up to the blank) go.
void trimRight(std::string& s) {
  size_t n = s.size();
  while (n > 0 && static_cast<unsigned char>(s[n - 1]) <= ' ') --n;
  s.resize(n);
}

}  // namespace

// --- file-name parts ---

namespace filename {

std::string Name(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Path(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string Dir(const std::string& path) {
  std::string folder = Path(path);
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

std::string Ext(const std::string& path) {
  std::string name = Name(path);
  size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeExt(const std::string& path, const std::string& ext) {
  std::string ext0 = Ext(path);
  return path.substr(0, path.size() - ext0.size()) + ext;
}

std::string Expand(const std::string& path) {
  if (path.empty()) return path;
  std::error_code ec;
  fs::path full = fs::absolute(fs::path(path), ec);
  if (ec) return path;
  std::string text = full.lexically_normal().string();
  // Only a name that ended in a delimiter keeps one ("dir/.." is the folder itself).
  if (text.size() > 1 && text.back() == '/' && path.back() != '/') text.pop_back();
  return text;
}

}  // namespace filename

// --- the object ---

const rt::ClassInfo& TJFileObject::StaticClassInfo() {
  using T = TJFileObject;
  static const rt::ClassInfo& info = rt::ClassBuilder<T>("TJFileObject", &TJObject::StaticClassInfo())
                                         .property("filename", &T::FileName, &T::SetFileName)
                                         .property("path", &T::FileName, &T::SetFileName)
                                         .property("length", &T::Length)
                                         .property("lastModified", &T::LastModified)
                                         .build();
  return info;
}

TJFileObject::TJFileObject(TJBaseEngine* engine, TJValueList* param) : TJObject(engine, param) {
  RegistName("File");
  if (IsParam1(param)) fileName_ = AsString(&(*param)[0]);
}

TJFileObject::~TJFileObject() { stream_.Close(false); }

void TJFileObject::closeStream() {
  stream_.Close(false);
  ahead_.clear();
}

void TJFileObject::Dispose() {
  closeStream();
  TJObject::Dispose();
}

void TJFileObject::RegistMethods() {
  TJObject::RegistMethods();
  RegistMethod("open", &TJFileObject::DoOpen);
  RegistMethod("close", &TJFileObject::DoClose);
  RegistMethod("isOpened", &TJFileObject::DoIsOpened);
  RegistMethod("flush", &TJFileObject::DoFlush);
  RegistMethod("read", &TJFileObject::DoRead);
  RegistMethod("readln", &TJFileObject::DoReadln);
  RegistMethod("write", &TJFileObject::DoWrite);
  RegistMethod("writeln", &TJFileObject::DoWriteln);
  RegistMethod("eof", &TJFileObject::DoEof);
  RegistMethod("seek", &TJFileObject::DoSeek);
  RegistMethod("exists", &TJFileObject::DoExists);
  RegistMethod("remove", &TJFileObject::DoRemove);
  RegistMethod("renameTo", &TJFileObject::DoRenameTo);
  RegistMethod("copyTo", &TJFileObject::DoCopyTo);
  RegistMethod("canRead", &TJFileObject::DoCanRead);
  RegistMethod("canWrite", &TJFileObject::DoCanWrite);
  RegistMethod("toString", &TJObject::DoToString);
  RegistMethod("extractName", &TJFileObject::DoExtractName);
  RegistMethod("extractPath", &TJFileObject::DoExtractPath);
  RegistMethod("extractDir", &TJFileObject::DoExtractDir);
  RegistMethod("extractDrive", &TJFileObject::DoExtractDrive);
  RegistMethod("extractExt", &TJFileObject::DoExtractExt);
  RegistMethod("changeExt", &TJFileObject::DoChangeExt);
  RegistMethod("expandUNCFilename", &TJFileObject::DoExpandUNCFilename);
  RegistMethod("extractShortPathName", &TJFileObject::DoExtractShortPathName);
}

void TJFileObject::fail(const char* prefix) const { ThrowError("EFileError", prefix + fileName_); }

const std::string& TJFileObject::systemPath(const std::string& name, const char* prefix) const {
  return SystemPath(name, "EFileError", prefix + name);
}

std::string TJFileObject::nameArgument(TJValueList* args) const {
  return IsParam1(args) ? AsString(&(*args)[0]) : fileName_;
}

int32_t TJFileObject::Length() const {
  if (!stream_.IsOpen()) systemPath(fileName_, "length error: ");
  int64_t size = 0;
  try {
    size = stream_.IsOpen() ? stream_.Size() : support::FileSizeOf(fileName_);
  } catch (const std::exception&) {
    size = support::FileSizeOf(fileName_);
  }
  return size > INT32_MAX ? INT32_MAX : size < 0 ? 0 : int32_t(size);
}

TJObject* TJFileObject::LastModified() const {
  systemPath(fileName_, "lastModified error: ");
  auto* date = TJObject::Create<stdlib::TJDateObject>(Engine());
  struct stat st;
  if (!fileName_.empty() && ::stat(fileName_.c_str(), &st) == 0)
    date->SetTime(int64_t(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
  else
    date->SetTime(stdlib::NowEpochMs());
  return date;
}

// open([mode]): "w" in the mode writes, else reads; "d" keeps others from writing. No mode: read,
// others kept from writing.
void TJFileObject::DoOpen(TJValueList* args, TJValue& result) {
  uint16_t mode = support::TSafeFileStream::fmShareDenyWrite;
  if (IsParam1(args)) {
    std::string m = lowerAscii(AsString(&(*args)[0]));
    mode = m.find('w') != std::string::npos ? support::TSafeFileStream::fmOpenWrite : support::TSafeFileStream::fmOpenRead;
    if (m.find('d') != std::string::npos) mode |= support::TSafeFileStream::fmShareDenyWrite;
  }
  systemPath(fileName_, "can not open: ");
  ahead_.clear();
  bool opened = false;
  try {
    opened = !fileName_.empty() && stream_.Open(fileName_, mode, false);
  } catch (const std::exception&) {
    opened = false;
  }
  if (!opened) fail("can not open: ");
  result.SetBool(true);
}

void TJFileObject::DoClose(TJValueList*, TJValue& result) {
  bool wasOpen = stream_.IsOpen();
  closeStream();
  result.SetBool(wasOpen);
}

void TJFileObject::DoIsOpened(TJValueList*, TJValue& result) { result.SetBool(stream_.IsOpen()); }

void TJFileObject::DoFlush(TJValueList*, TJValue& result) {
  bool open = stream_.IsOpen();
  if (open) {
    try {
      stream_.Flush();
    } catch (const std::exception&) {
      fail("write error: ");
    }
  }
  result.SetBool(open);
}

// read([count]): count bytes from the position (fewer at the end), or everything to the end. A
// file that is no regular file may never end: without a count, reading it stops with an error
// once more than kUnboundedReadLimit bytes came.
void TJFileObject::DoRead(TJValueList* args, TJValue& result) {
  if (!stream_.IsOpen()) fail("read error: ");
  std::string data;
  try {
    bool counted = IsParam1(args);
    int64_t wanted = counted ? std::max<int64_t>(0, AsInteger(&(*args)[0])) : INT64_MAX;
    size_t limit = counted || stream_.IsRegularFile() ? SIZE_MAX : kUnboundedReadLimit;
    // What readln read ahead from a pipe comes first.
    size_t early = size_t(std::min<int64_t>(wanted, int64_t(ahead_.size())));
    data.assign(ahead_, 0, early);
    ahead_.erase(0, early);
    while (int64_t(data.size()) < wanted) {
      if (data.size() > limit) fail("read error: ");
      int64_t chunk = std::min<int64_t>(kReadBlock, wanted - int64_t(data.size()));
      size_t at = data.size();
      data.resize(at + size_t(chunk));
      int64_t n = stream_.Read(data.data() + at, chunk);
      data.resize(at + size_t(std::max<int64_t>(n, 0)));
      if (n < chunk) break;
    }
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    fail("read error: ");
  }
  result.SetString(data);
}

// The next line of a regular file: read in blocks, then the position goes back to just after the
// line's LF.
std::string TJFileObject::readLineSeeking() {
  std::string line;
  char block[kLineBlock];
  for (;;) {
    int64_t start = stream_.Position();
    int64_t n = stream_.Read(block, kLineBlock);
    if (n <= 0) break;
    const char* lf = static_cast<const char*>(memchr(block, '\n', size_t(n)));
    if (lf) {
      size_t take = size_t(lf - block) + 1;
      line.append(block, take);
      trimRight(line);
      if (stream_.Seek(start + int64_t(take), support::soFromBeginning) < 0) fail("read error: ");
      break;
    }
    line.append(block, size_t(n));
  }
  return line;
}

// The next line of a pipe or device, which cannot go back: what came after the line's LF waits in
// ahead_ for the next read. A line that does not end within kUnboundedReadLimit bytes is an error.
std::string TJFileObject::readLineAhead() {
  size_t scanned = 0;
  for (;;) {
    size_t lf = ahead_.find('\n', scanned);
    if (lf != std::string::npos) {
      std::string line = ahead_.substr(0, lf + 1);
      ahead_.erase(0, lf + 1);
      trimRight(line);
      return line;
    }
    if (ahead_.size() > kUnboundedReadLimit) fail("read error: ");
    scanned = ahead_.size();
    char block[kLineBlock];
    int64_t n = stream_.ReadSome(block, kLineBlock);
    if (n <= 0) return std::exchange(ahead_, std::string());
    ahead_.append(block, size_t(n));
  }
}

// readln(): the next line. An LF ends it (the line then loses trailing blanks and control
// characters, a CR among them); the end of the file ends it as it is.
void TJFileObject::DoReadln(TJValueList*, TJValue& result) {
  if (!stream_.IsOpen()) fail("read error: ");
  std::string line;
  try {
    line = stream_.IsRegularFile() ? readLineSeeking() : readLineAhead();
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    fail("read error: ");
  }
  result.SetString(line);
}

// Writes every byte; a write that writes nothing while bytes remain is a failure.
void TJFileObject::writeText(std::string_view text, TJValue& result) {
  if (!stream_.IsOpen()) fail("write error: ");
  int64_t done = 0;
  try {
    while (done < int64_t(text.size())) {
      int64_t n = stream_.Write(text.data() + done, int64_t(text.size()) - done);
      if (n <= 0) fail("write error: ");
      done += n;
    }
  } catch (const EJException&) {
    throw;
  } catch (const std::exception&) {
    fail("write error: ");
  }
  result.SetInteger(done > INT32_MAX ? INT32_MAX : int32_t(done));
}

void TJFileObject::DoWrite(TJValueList* args, TJValue& result) {
  writeText(IsParam1(args) ? AsString(&(*args)[0]) : std::string(), result);
}

void TJFileObject::DoWriteln(TJValueList* args, TJValue& result) {
  writeText((IsParam1(args) ? AsString(&(*args)[0]) : std::string()) + "\r\n", result);
}

// A pipe or device has no size to compare with: it is at its end when a read brings nothing (what
// the read brings waits for the next read).
void TJFileObject::DoEof(TJValueList*, TJValue& result) {
  if (!stream_.IsOpen()) fail("eof error: ");
  bool eof = true;
  try {
    if (!stream_.IsRegularFile()) {
      if (ahead_.empty()) {
        char block[kLineBlock];
        int64_t n = stream_.ReadSome(block, kLineBlock);
        if (n > 0) ahead_.assign(block, size_t(n));
      }
      eof = ahead_.empty();
    } else {
      eof = stream_.Position() >= stream_.Size();
    }
  } catch (const std::exception&) {
    fail("eof error: ");
  }
  result.SetBool(eof);
}

// seek(position): from the start; a negative position counts back from the end.
void TJFileObject::DoSeek(TJValueList* args, TJValue& result) {
  if (!stream_.IsOpen() || !IsParam1(args)) fail("seek error: ");
  int64_t position = AsInteger(&(*args)[0]);
  int64_t at = -1;
  ahead_.clear();
  try {
    if (position < 0) position += stream_.Size();
    if (position >= 0) at = stream_.Seek(position, support::soFromBeginning);
  } catch (const std::exception&) {
    at = -1;
  }
  if (at < 0) fail("seek error: ");
  result.SetInteger(at > INT32_MAX ? INT32_MAX : int32_t(at));
}

// exists([name]): a file of that name (a folder is no file).
void TJFileObject::DoExists(TJValueList* args, TJValue& result) {
  result.SetBool(isRegularFile(systemPath(nameArgument(args), "exists error: ")));
}

void TJFileObject::DoRemove(TJValueList*, TJValue& result) {
  systemPath(fileName_, "remove error: ");
  closeStream();
  if (!isRegularFile(fileName_) || ::unlink(fileName_.c_str()) != 0) fail("remove error: ");
  result.SetBool(true);
}

// renameTo(newName): never over an existing file.
void TJFileObject::DoRenameTo(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) fail("rename error: ");
  std::string newName = AsString(&(*args)[0]);
  systemPath(fileName_, "rename error: ");
  systemPath(newName, "rename error: ");
  closeStream();
  if (fileName_.empty() || newName.empty() || !renameNoReplace(fileName_, newName)) fail("rename error: ");
  fileName_ = newName;
  result.SetBool(true);
}

// copyTo(newName): an existing target is replaced, once the copy is whole.
void TJFileObject::DoCopyTo(TJValueList* args, TJValue& result) {
  if (!IsParam1(args)) fail("copy error: ");
  std::string newName = AsString(&(*args)[0]);
  systemPath(fileName_, "copy error: ");
  systemPath(newName, "copy error: ");
  closeStream();
  if (newName.empty() || !copyReplacing(fileName_, newName)) fail("copy error: ");
  result.SetBool(true);
}

void TJFileObject::DoCanRead(TJValueList*, TJValue& result) {
  result.SetBool(stream_.IsOpen() && (stream_.Mode() & 3) == support::TSafeFileStream::fmOpenRead);
}

void TJFileObject::DoCanWrite(TJValueList*, TJValue& result) {
  result.SetBool(stream_.IsOpen() && (stream_.Mode() & 3) == support::TSafeFileStream::fmOpenWrite);
}

void TJFileObject::DoExtractName(TJValueList* args, TJValue& result) {
  result.SetString(filename::Name(nameArgument(args)));
}

void TJFileObject::DoExtractPath(TJValueList* args, TJValue& result) {
  result.SetString(filename::Path(nameArgument(args)));
}

void TJFileObject::DoExtractDir(TJValueList* args, TJValue& result) {
  result.SetString(filename::Dir(nameArgument(args)));
}

// Paths here have no drive letters or network shares.
void TJFileObject::DoExtractDrive(TJValueList*, TJValue& result) { result.SetString(""); }

void TJFileObject::DoExtractExt(TJValueList* args, TJValue& result) {
  result.SetString(filename::Ext(nameArgument(args)));
}

// changeExt(ext) on the file name, or changeExt(name, ext).
void TJFileObject::DoChangeExt(TJValueList* args, TJValue& result) {
  if (IsParam2(args))
    result.SetString(filename::ChangeExt(AsString(&(*args)[0]), AsString(&(*args)[1])));
  else if (IsParam1(args))
    result.SetString(filename::ChangeExt(fileName_, AsString(&(*args)[0])));
  else
    result.SetNull();
}

void TJFileObject::DoExpandUNCFilename(TJValueList* args, TJValue& result) {
  result.SetString(filename::Expand(nameArgument(args)));
}

// There are no short names: an existing path is its own, a missing one has none.
void TJFileObject::DoExtractShortPathName(TJValueList* args, TJValue& result) {
  const std::string name = nameArgument(args);
  systemPath(name, "extractShortPathName error: ");
  struct stat st;
  result.SetString(!name.empty() && ::stat(name.c_str(), &st) == 0 ? name : std::string());
}

}  // namespace host
