// TJBaseSocketObject: the common base of the script classes that drive a socket (HTTP, and the
// TCP, mail and FTP objects that build on it). It carries the `debug` switch and the debug sink
// that socket traces go to, the published time-out and byte counters, the bridges from a socket's
// events to script handlers, and the guard every method native runs its client call in.
//
// The guard turns any failure of the library (or of a script handler called from inside it) into
// one "ESocketError" with the method's own message; the library's text is dropped. An abort or an
// exit of the script passes through unchanged, so a handler can still stop the program. A method
// called from a handler while the same object is inside a call is refused with its message: the
// client is not re-entrant.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#include "script/core/object.h"
#include "script/core/value.h"

#include "net/socket.h"

namespace host {

// Received bytes read straight into the memory of a script text: the text a method answers is the
// block the socket filled. The block is sized once when the length is announced and grows
// geometrically otherwise.
class TScriptTextReceiver : public net::TReceiveBuffer {
 public:
  TScriptTextReceiver() = default;
  ~TScriptTextReceiver() override;
  TScriptTextReceiver(const TScriptTextReceiver&) = delete;
  TScriptTextReceiver& operator=(const TScriptTextReceiver&) = delete;

  char* Room(size_t size) override;
  void Grew(size_t count) override;
  void Expect(size_t more) override;
  // The bytes received so far become `value`'s text; the receiver is empty afterwards.
  void TakeInto(engine::TJValue& value);

 private:
  void Reserve(size_t capacity);

  engine::TJStringRep* rep_ = nullptr;
};

class TJBaseSocketObject : public engine::TJObject {
  RT_CLASS(TJBaseSocketObject)
 public:
  TJBaseSocketObject(engine::TJBaseEngine* engine, engine::TJValueList* param);

  // The debug sink: where status lines go while `debug` is on. The engine binds it to the
  // Global object's print-line routine when it makes the object; it may stay unassigned.
  std::function<void(const std::string& text)> PrintHook;

  // Published `debug`, false at creation.
  bool Debug() const { return debug_; }
  void SetDebug(bool value) { debug_ = value; }

  // The transport's time-out in seconds and its byte counters (published `timeout`, `bytesRead`,
  // `bytesTotal`, `bytesWrote`).
  virtual int32_t GetTimeout() const = 0;
  virtual void SetTimeout(int32_t seconds) = 0;
  virtual int32_t GetBytesRead() const = 0;
  virtual int32_t GetBytesTotal() const = 0;
  virtual int32_t GetBytesWrote() const = 0;

  void Dispose() override;

  // A 64-bit counter as a script integer: held at the largest 32-bit value instead of wrapping.
  static int32_t Clamp32(int64_t value);

 protected:
  // Runs `work` under the guard described above; `failure` is the method's message.
  void Guarded(const char* failure, const std::function<void()>& work);
  // The name of a local file a method reads or writes, as the file system is given it; a name it
  // cannot be given fails as the method (`failure`) before anything is sent or touched.
  static const std::string& LocalFile(const std::string& name, const char* failure);
  bool Busy() const { return busy_; }

  // Points the socket's status, connect, disconnect, error, read and write events at this
  // object's script events; Unhook clears every event of the socket.
  void HookSocketEvents(net::TgSocket& socket);
  static void UnhookSocketEvents(net::TgSocket& socket);

  // Calls the script handler `name` with this object and `extra` as arguments, when the object
  // has one and events may run.
  void FireEvent(std::string_view name, std::initializer_list<engine::TJValue> extra = {});
  // The status line: to the debug sink when `debug` is on, then to "onStatus".
  void FireStatus(const std::string& text);
  // "onRead"/"onWrite": the handler gets a Boolean object holding `cancel`; what it holds
  // afterwards is written back, also when the handler raised.
  void FireCountEvent(std::string_view name, int count, bool& cancel);

 private:
  bool debug_ = false;
  bool busy_ = false;
  std::exception_ptr pendingStop_;  // an abort or exit raised in a status handler
};

}  // namespace host
