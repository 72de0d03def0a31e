// The exceptions of the internet library. Every failure of a socket or a protocol client is one of
// these; the script objects catch the whole family at their boundary.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rt/exception.h"

namespace net {

class EgSocket : public rt::Exception {
 public:
  using rt::Exception::Exception;
  const char* className() const override { return "EgSocket"; }
};

// A failed socket call; ErrorCode is the Winsock-style number (0 when a handler cancelled a transfer).
class ESocketError : public EgSocket {
 public:
  explicit ESocketError(int errorCode);
  // With what went wrong in words after the number.
  ESocketError(int errorCode, const std::string& detail);
  int ErrorCode;
  const char* className() const override { return "ESocketError"; }
};

// A protocol reply that reports a failure; the message is the reply text.
class EProtocolError : public EgSocket {
 public:
  EProtocolError(int code, std::string protocol, std::string replyText);
  int Code;
  std::string Protocol;
  std::string ReplyText;
  const char* className() const override { return "EProtocolError"; }
};

// "not connected", or "not found " + host when a host name cannot be resolved.
class ETCPIPError : public EgSocket {
 public:
  ETCPIPError(std::string message, uint32_t address) : EgSocket(std::move(message)), Address(address) {}
  uint32_t Address;
  const char* className() const override { return "ETCPIPError"; }
};

class ESocketTimeout : public EgSocket {
 public:
  using EgSocket::EgSocket;
  const char* className() const override { return "ESocketTimeout"; }
};

class ESocketCancel : public EgSocket {
 public:
  ESocketCancel() : EgSocket("cancel") {}
  const char* className() const override { return "ESocketCancel"; }
};

class EProtocolBusy : public EgSocket {
 public:
  EProtocolBusy() : EgSocket("protocol busy") {}
  const char* className() const override { return "EProtocolBusy"; }
};

class ELocalError : public EgSocket {
 public:
  using EgSocket::EgSocket;
  const char* className() const override { return "ELocalError"; }
};

// A failed bind or listen; the message is the error's name.
class EBindError : public EgSocket {
 public:
  using EgSocket::EgSocket;
  const char* className() const override { return "EBindError"; }
};

}  // namespace net
