// The script class "TCPSocket": a plain blocking TCP connection, client or server side, over the
// library's TgSocket. `new TCPSocket` is an unconnected socket; `bind` listens on `port` and
// `accept` answers each waiting connection as a TCPSocket object of its own.
//
// `new TCPSocket(handle)` makes an object around an accepted connection. It takes only a handle
// that our own `accept` handed out and nobody has taken yet, and only while it is a stream socket:
// any other number (a file, the display connection, a connection another object owns) is refused
// with "TCPSocket.create error" instead of being adopted and later closed.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "net/socket.h"
#include "script/core/object.h"
#include "script/core/value.h"
#include "script/host/base_socket_object.h"

namespace host {

class TJTCPSocketObject : public TJBaseSocketObject {
  RT_CLASS(TJTCPSocketObject)
 public:
  TJTCPSocketObject(engine::TJBaseEngine* engine, engine::TJValueList* param);
  ~TJTCPSocketObject() override;

  // The socket, made on first use (an accepted connection has one from the start).
  net::TgSocket& Socket() const;

  std::string Host() const { return Socket().Host; }
  void SetHost(std::string value) { Socket().Host = std::move(value); }
  int32_t Port() const { return Socket().Port; }
  // An unsigned 16-bit number: larger values keep their low 16 bits.
  void SetPort(int32_t value) { Socket().Port = static_cast<uint16_t>(value); }

  int32_t GetTimeout() const override { return Socket().Timeout; }
  void SetTimeout(int32_t seconds) override { Socket().Timeout = seconds; }
  int32_t GetBytesRead() const override { return Clamp32(Socket().BytesRead); }
  int32_t GetBytesTotal() const override { return Clamp32(Socket().BytesTotal); }
  int32_t GetBytesWrote() const override { return Clamp32(Socket().BytesWritten); }

  void RegistMethods() override;
  void Dispose() override;

  void DoConnect(engine::TJValueList* args, engine::TJValue& result);
  void DoDisconnect(engine::TJValueList* args, engine::TJValue& result);
  void DoAbort(engine::TJValueList* args, engine::TJValue& result);
  void DoRead(engine::TJValueList* args, engine::TJValue& result);
  void DoReadln(engine::TJValueList* args, engine::TJValue& result);
  void DoWrite(engine::TJValueList* args, engine::TJValue& result);
  void DoWriteln(engine::TJValueList* args, engine::TJValue& result);
  void DoCapture(engine::TJValueList* args, engine::TJValue& result);
  void DoSendFile(engine::TJValueList* args, engine::TJValue& result);
  void DoBind(engine::TJValueList* args, engine::TJValue& result);
  void DoAccept(engine::TJValueList* args, engine::TJValue& result);
  void DoIsConnected(engine::TJValueList* args, engine::TJValue& result);

 private:
  void ReleaseSocket();

  mutable std::unique_ptr<net::TgSocket> socket_;
};

}  // namespace host
