// The script class "File": a byte file a script opens for reading or writing, reads whole, by a
// count of bytes or by lines, writes, seeks in, and copies, renames or deletes; plus the parts of
// a file name. Script strings are bytes here: no code conversion takes place.
//
// Opening for writing creates a missing file but never truncates one: writing fewer bytes than the
// file holds leaves its tail. The "d" mode (others may not write) is recorded but, as POSIX files
// have no share modes, not enforced. renameTo never replaces an existing file; copyTo replaces
// its target only once the copy is complete, and a copy cut short leaves nothing behind. Every
// failure is the script error "EFileError" with the method's message and the file name; a name
// holding a NUL byte is such a failure, before any file is touched.
//
// A named pipe opens without waiting for a writer (none reads as the end). Pipes and devices
// have no end the object can know of: reading one whole, or a line of one, stops with "read
// error" past 16 MiB.
#pragma once

#include <cstdint>
#include <string>

#include "script/core/object.h"
#include "script/core/value.h"
#include "support/safe_file_stream.h"

namespace host {

class TJFileObject : public engine::TJObject {
  RT_CLASS(TJFileObject)
 public:
  TJFileObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJFileObject() override;

  // Published properties.
  std::string FileName() const { return fileName_; }
  void SetFileName(std::string name) { fileName_ = std::move(name); }
  int32_t Length() const;
  // A new Date with the file's modification time (the current time when there is no file).
  engine::TJObject* LastModified() const;

  void RegistMethods() override;
  void Dispose() override;
  std::string ToString(const engine::TJValue* argument) override { return fileName_; }

  void DoOpen(engine::TJValueList* args, engine::TJValue& result);
  void DoClose(engine::TJValueList* args, engine::TJValue& result);
  void DoIsOpened(engine::TJValueList* args, engine::TJValue& result);
  void DoFlush(engine::TJValueList* args, engine::TJValue& result);
  void DoRead(engine::TJValueList* args, engine::TJValue& result);
  void DoReadln(engine::TJValueList* args, engine::TJValue& result);
  void DoWrite(engine::TJValueList* args, engine::TJValue& result);
  void DoWriteln(engine::TJValueList* args, engine::TJValue& result);
  void DoEof(engine::TJValueList* args, engine::TJValue& result);
  void DoSeek(engine::TJValueList* args, engine::TJValue& result);
  void DoExists(engine::TJValueList* args, engine::TJValue& result);
  void DoRemove(engine::TJValueList* args, engine::TJValue& result);
  void DoRenameTo(engine::TJValueList* args, engine::TJValue& result);
  void DoCopyTo(engine::TJValueList* args, engine::TJValue& result);
  void DoCanRead(engine::TJValueList* args, engine::TJValue& result);
  void DoCanWrite(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractName(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractPath(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractDir(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractDrive(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractExt(engine::TJValueList* args, engine::TJValue& result);
  void DoChangeExt(engine::TJValueList* args, engine::TJValue& result);
  void DoExpandUNCFilename(engine::TJValueList* args, engine::TJValue& result);
  void DoExtractShortPathName(engine::TJValueList* args, engine::TJValue& result);

 private:
  // The first argument's text, or the file name without one.
  std::string nameArgument(engine::TJValueList* args) const;
  [[noreturn]] void fail(const char* prefix) const;
  // `name` as the file system is given it; one it cannot be given fails with `prefix` and itself.
  const std::string& systemPath(const std::string& name, const char* prefix) const;
  void writeText(std::string_view text, engine::TJValue& result);
  std::string readLineSeeking();
  std::string readLineAhead();
  void closeStream();

  mutable support::TSafeFileStream stream_;  // length reads the size of an open file
  std::string fileName_;
  // Bytes read from a pipe or device past the end of a line, not yet handed to the script.
  std::string ahead_;
};

// The parts of a file name ("/" separates folders; there are no drives).
namespace filename {
// The name after the last "/".
std::string Name(const std::string& path);
// The folder with its trailing "/" ("" without one).
std::string Path(const std::string& path);
// The folder without its trailing "/" (the root stays "/").
std::string Dir(const std::string& path);
// The extension with its dot, from the last "." of the name ("" without one).
std::string Ext(const std::string& path);
// The path with its extension replaced (or added).
std::string ChangeExt(const std::string& path, const std::string& ext);
// The full path, relative to the current folder, with "." and ".." resolved.
std::string Expand(const std::string& path);
}  // namespace filename

}  // namespace host
