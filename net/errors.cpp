#include "net/errors.h"

namespace net {

ESocketError::ESocketError(int errorCode)
    : EgSocket("socket error no." + std::to_string(errorCode)), ErrorCode(errorCode) {}

ESocketError::ESocketError(int errorCode, const std::string& detail)
    : EgSocket("socket error no." + std::to_string(errorCode) + (detail.empty() ? "" : ": " + detail)),
      ErrorCode(errorCode) {}

EProtocolError::EProtocolError(int code, std::string protocol, std::string replyText)
    : EgSocket(replyText), Code(code), Protocol(std::move(protocol)), ReplyText(std::move(replyText)) {}

}  // namespace net
