// The WScript object: the program's and the script's names, the script's arguments split into
// named ("/name:value") and unnamed ones, the three standard streams, Echo, Sleep, Quit, and the
// creation and connection of automation objects. Every engine has one, bound as "WScript"; its
// arguments are filled at the start of each run.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "script/core/object.h"
#include "script/core/value.h"
#include "script/stdlib/array_object.h"

namespace engine {
class TJEngine;
}

namespace host {

// Whether an argument names a value: the leftmost "/" followed by a name (one or more characters
// up to the next ":") anywhere in the text; `value` is everything after that colon. "c/d:e" is
// named d with the value e; "/x" and "/:v" are not named.
bool SplitNamedArgument(std::string_view text, std::string& name, std::string& value);

class TJWshNamedObject : public engine::TJObject {
  RT_CLASS(TJWshNamedObject)
 public:
  TJWshNamedObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  void RegistMethods() override;
  // The names of the string-valued members.
  void GetPropertyList(std::vector<std::string>& names) override;
  int32_t Count() const;
  void DoExists(engine::TJValueList* args, engine::TJValue& result);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);
};

class TJWshUnnamedObject : public stdlib::TJArrayObject {
  RT_CLASS(TJWshUnnamedObject)
 public:
  TJWshUnnamedObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  void RegistMethods() override;
  int32_t Count() const { return const_cast<TJWshUnnamedObject*>(this)->Items().Count(); }
  void DoItem(engine::TJValueList* args, engine::TJValue& result);
};

class TJWshArgumentsObject : public stdlib::TJArrayObject {
  RT_CLASS(TJWshArgumentsObject)
 public:
  TJWshArgumentsObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  void RegistMethods() override;
  void Dispose() override;
  int32_t Count() const { return const_cast<TJWshArgumentsObject*>(this)->Items().Count(); }
  TJWshNamedObject* Named() const { return named_.get(); }
  TJWshUnnamedObject* Unnamed() const { return unnamed_.get(); }
  // The run's arguments, or the process's own from its third parameter on when there are none;
  // each text of the form "/name:value" (at its very start) is named, every other item unnamed.
  void ParseCommandArguments(const engine::TJValueList* args);
  void DoItem(engine::TJValueList* args, engine::TJValue& result);
  void DoShowUsage(engine::TJValueList* args, engine::TJValue& result);

 private:
  engine::TJRef<TJWshNamedObject> named_;
  engine::TJRef<TJWshUnnamedObject> unnamed_;
};

// One standard stream: reads go to the read handler, writes to the write handler.
class TJWshStreamObject : public engine::TJObject {
  RT_CLASS(TJWshStreamObject)
 public:
  using WriteHandler = std::function<void(const std::string& text)>;
  using ReadHandler = std::function<void(std::string& text, bool& success, int32_t count, bool line)>;
  TJWshStreamObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  void SetReader(ReadHandler reader);
  void SetWriter(WriteHandler writer);

  void RegistMethods() override;
  int32_t Column() const { return 0; }
  int32_t Line() const { return 1; }
  bool AtEndOfLine() const { return true; }

  void DoClose(engine::TJValueList* args, engine::TJValue& result);
  void DoRead(engine::TJValueList* args, engine::TJValue& result);
  void DoReadAll(engine::TJValueList* args, engine::TJValue& result);
  void DoReadLine(engine::TJValueList* args, engine::TJValue& result);
  void DoSkip(engine::TJValueList* args, engine::TJValue& result);
  void DoWrite(engine::TJValueList* args, engine::TJValue& result);
  void DoWriteBlankLines(engine::TJValueList* args, engine::TJValue& result);
  void DoWriteLine(engine::TJValueList* args, engine::TJValue& result);

 private:
  std::string read(int32_t count, bool line);
  void write(const std::string& text);
  ReadHandler reader_;
  WriteHandler writer_;
};

class TJWScriptObject : public engine::TJObject {
  RT_CLASS(TJWScriptObject)
 public:
  TJWScriptObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJWScriptObject() override;

  void RegistMethods() override;
  void AfterCreate(engine::TJValueList* param) override;
  void Dispose() override;

  TJWshArgumentsObject* Arguments() const { return arguments_.get(); }
  std::string FullName() const;
  bool Interactive() const { return interactive_; }
  void SetInteractive(bool value) { interactive_ = value; }
  std::string Name() const;
  std::string Path() const;
  std::string ScriptFullName() const;
  std::string ScriptName() const;
  TJWshStreamObject* StdErr() const { return stdErr_.get(); }
  TJWshStreamObject* StdIn() const { return stdIn_.get(); }
  TJWshStreamObject* StdOut() const { return stdOut_.get(); }
  std::string Version() const { return "0.3.9"; }

  void DoCreateObject(engine::TJValueList* args, engine::TJValue& result);
  void DoConnectObject(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnectObject(engine::TJValueList* args, engine::TJValue& result);
  void DoEcho(engine::TJValueList* args, engine::TJValue& result);
  void DoGetObject(engine::TJValueList* args, engine::TJValue& result);
  void DoQuit(engine::TJValueList* args, engine::TJValue& result);
  void DoSleep(engine::TJValueList* args, engine::TJValue& result);

 private:
  bool interactive_ = false;
  engine::TJRef<TJWshArgumentsObject> arguments_;
  engine::TJRef<TJWshStreamObject> stdErr_;
  engine::TJRef<TJWshStreamObject> stdOut_;
  engine::TJRef<TJWshStreamObject> stdIn_;
};

// Where Echo's text goes: a console host prints it; without a handler it is a message box.
void SetEchoHandler(std::function<void(const std::string& text)> handler);

// Installs the engine's WScript object and its argument filling.
void InstallWScript();

}  // namespace host
