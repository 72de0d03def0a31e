#include "net/ftp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string_view>
#include <system_error>

#include "net/ftp_reply.h"
#include "net/host_address.h"
#include "net/replacing_file.h"
#include "net/text_routines.h"
#include "net/url.h"
#include "net/wsa_errors.h"
#include "platform/rt/numtext.h"

namespace net {

namespace {

// A listing read into a scratch list of our own: it is parsed whatever the script chose and, when
// quiet, the script's line handler sees none of it. Both settings come back when the scope ends.
class ScratchListing {
 public:
  ScratchListing(TgFTP& ftp, bool quiet) : ftp_(ftp), parse_(ftp.ParseListing), quiet_(quiet) {
    if (quiet_) {
      line_ = std::move(ftp.OnListLine);
      ftp.OnListLine = nullptr;
    }
    ftp.ParseListing = true;
  }
  ~ScratchListing() {
    ftp_.ParseListing = parse_;
    if (quiet_) ftp_.OnListLine = std::move(line_);
  }
  ScratchListing(const ScratchListing&) = delete;
  ScratchListing& operator=(const ScratchListing&) = delete;

 private:
  TgFTP& ftp_;
  TFTPLineEvent line_;
  bool parse_;
  bool quiet_;
};

constexpr const char* kCmdNames[] = {
    "cmdChangeDir", "cmdMakeDir",  "cmdDelete",  "cmdRemoveDir", "cmdList",     "cmdRename",    "cmdUpRestore",
    "cmdDownRestore", "cmdDownload", "cmdUpload", "cmdAppend",    "cmdReInit",   "cmdAllocate",  "cmdNList",
    "cmdDoCommand", "cmdCurrentDir", "cmdAbort", "cmdMode",       "cmdSIZE"};

// A reply longer than this (all its lines) is not waited out.
constexpr size_t kMaxReply = size_t(1) << 20;
// How many numbered names UploadUnique tries.
constexpr int kMaxUniqueTries = 1000;

const char kUploadEnd[] = "nfo>upload終了しました";
const char kUploadError[] = "err>upload失敗しました";

bool IsDigits3(std::string_view s) {
  return s.size() >= 3 && s[0] >= '0' && s[0] <= '9' && s[1] >= '0' && s[1] <= '9' && s[2] >= '0' && s[2] <= '9';
}

// The text between the first double quote and the next one; empty when there is none.
std::string Quoted(const std::string& text) {
  size_t open = text.find('"');
  if (open == std::string::npos) return "";
  size_t close = text.find('"', open + 1);
  if (close == std::string::npos) return "";
  return text.substr(open + 1, close - open - 1);
}

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::mt19937& PortChooser() {
  static std::mt19937 generator{std::random_device{}()};
  return generator;
}

}  // namespace

const char* FtpCmdName(TFTPCmdType cmd) {
  auto i = static_cast<size_t>(cmd);
  return i < std::size(kCmdNames) ? kCmdNames[i] : "";
}

TgFTP::TgFTP(int bufferSize) : TgSocket(bufferSize) { Port = 21; }

TgFTP::~TgFTP() {
  OnStatus = nullptr;
  OnDisconnect = nullptr;
  if (DataSocket != kNoSocket) CloseSocketHandle(DataSocket);
  if (Connected) {
    try {
      Disconnect();
    } catch (...) {
      // going away: nothing to report to
    }
  }
}

// --- the frame every wrapped operation runs in ---

void TgFTP::Run(TFTPCmdType cmd, const std::string& start, const char* end, const char* error,
                const std::function<void()>& work) {
  if (!start.empty()) Log(start, kLogNotice);
  bool ignore = false;
  try {
    if (Busy) throw EProtocolBusy();
    work();
  } catch (const EProtocolError&) {
    Log(error, kLogNormal);
    if (OnProtocolError) OnProtocolError(cmd);
    if (OnFailure) OnFailure(ignore, cmd);
    if (!ignore) throw;
    return;
  } catch (const EgSocket&) {
    Log(error, kLogNormal);
    if (OnFailure) OnFailure(ignore, cmd);
    if (!ignore) throw;
    return;
  } catch (const std::system_error&) {
    // a local file that cannot be sized or written
    Log(error, kLogNormal);
    if (OnFailure) OnFailure(ignore, cmd);
    if (!ignore) throw;
    return;
  }
  if (end) Log(end, kLogNotice);
  if (OnSuccess) OnSuccess(cmd);
}

// --- control connection ---

void TgFTP::SendCommand(const std::string& line, bool noSend) {
  if (line.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) {
    throw EProtocolError(0, "ftp", "line break in command");
  }
  if (!noSend) SendLine(line);
  if (line.compare(0, 5, "PASS ") == 0 || line == "PASS") {
    Log("cmd>PASS " + std::string(line.size() > 5 ? line.size() - 5 : 0, '*'), kLogNormal);
  } else if (!Trim(line).empty()) {
    Log("cmd>" + line, kLogNormal);
  }
}

void TgFTP::ReadFtpReply() { ReadReplyLines(true); }

// The reply ends with the line that starts with its code and a blank; the lines before it (after
// "code-") belong to it. A connection that closes ends it too (code 999).
void TgFTP::ReadReplyLines(bool raise) {
  ReplyCode = 0;
  std::string line, code;
  size_t total = 0;
  for (;;) {
    if (IsClosed(Handle)) {
      line.clear();
      break;
    }
    ReadReply(line);
    total += line.size() + 2;
    if (code.empty() && IsDigits3(line)) code = line.substr(0, 3);
    if (!code.empty() && line.compare(0, 3, code) == 0 && (line.size() == 3 || line[3] == ' ')) break;
    if (total > kMaxReply) throw EProtocolError(0, "ftp", "reply too long");
  }
  int32_t value;
  ReplyCode = line.size() >= 3 && rt::TryStrToInt(line.substr(0, 3), value) ? value : 999;
  ReplyText = line.size() > 4 ? line.substr(4) : std::string();
  if (ReplyCode >= 400 && raise) {
    Log("err>" + std::to_string(ReplyCode) + " " + ReplyText, kLogNormal);
    throw EProtocolError(ReplyCode, "ftp", ReplyText);
  }
}

void TgFTP::Connect() {
  if (!Connected) {
    if (!Proxy.empty()) {
      std::string setting = Proxy;
      size_t colon = setting.find(':');
      std::string host = Trim(setting.substr(0, colon));
      int32_t port = 21;
      if (colon != std::string::npos && (!rt::TryStrToInt(Trim(setting.substr(colon + 1)), port) || port <= 0 ||
                                         port > 0xFFFF))
        port = 21;
      ConnectToHost(host, static_cast<uint16_t>(port));
    } else {
      ConnectToHost(Host, Port);
    }
    ReadFtpReply();
    // "120 ready in n minutes" comes before the real greeting.
    while (ReplyCode >= 100 && ReplyCode < 200) ReadFtpReply();
    greeting_ = ReplyCode;
  }
  TransferType = 3;
  Busy = false;
  RestartAccepted = false;
  CloseSocketHandle(DataSocket);
  DataPort = 20;
  DirectoryList.Clear();
  Log("nfo>loginします", kLogNotice);
  Login();
}

void TgFTP::Login() {
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (User.empty()) {
      bool retry = false;
      if (OnNeedUser) OnNeedUser(retry);
      if (!retry || attempt == 1 || User.empty()) {
        Log("err>useridがありません", kLogNormal);
        throw EProtocolError(ReplyCode, "AuthenticationNeeded", ReplyText);
      }
    }
    if (greeting_ != 220) return;
    try {
      SendCommand("USER " + User + (Proxy.empty() ? std::string() : "@" + Host));
      ReadReplyLines(false);
      if (ReplyCode == 331) {
        SendCommand("PASS " + Password);
        ReadReplyLines(false);
      }
      if (ReplyCode != 230) {
        Log("err>login失敗しました", kLogNormal);
        throw EProtocolError(ReplyCode, "ftp login failed", ReplyText);
      }
      return;
    } catch (const EProtocolError&) {
      bool retry = false;
      if (OnLoginFailure) OnLoginFailure(retry);
      if (retry && attempt == 0) continue;
      throw;
    }
  }
}

void TgFTP::Disconnect() {
  if (Busy) {
    try {
      Abort();
    } catch (...) {
      // the connection goes anyway
    }
  }
  if (Connected) {
    Log("nfo>logoutします", kLogNotice);
    try {
      SendCommand("QUIT");
      ReadFtpReply();
    } catch (...) {
      // a server that is gone or refuses QUIT is left all the same
    }
  }
  CloseSocketHandle(DataSocket);
  Busy = false;
  TgSocket::Disconnect();
}

void TgFTP::Abort() {
  Log("nfo>abortを開始します", kLogNotice);
  bool ignore = false;
  try {
    SendCommand("ABOR");
    ReadFtpReply();
  } catch (const EProtocolError&) {
    // 426 for the transfer that was cut, then the answer to ABOR itself
    try {
      ReadFtpReply();
    } catch (const EgSocket&) {
    }
    Busy = false;
    Log("nfo>abort終了しました", kLogNotice);
    if (OnSuccess) OnSuccess(TFTPCmdType::cmdAbort);
  } catch (const EgSocket&) {
    Busy = false;
    Log("err>ABORコマンドを失敗しました", kLogNormal);
    if (OnFailure) OnFailure(ignore, TFTPCmdType::cmdAbort);
    if (!ignore) throw;
  }
}

std::string TgFTP::GetPortText() { return std::to_string(DataPort >> 8) + "," + std::to_string(DataPort & 0xFF); }

bool TgFTP::IsClosed(TSocket socket) {
  if (socket != kNoSocket && socket == DataSocket) return DataClosed || TgSocket::IsClosed(socket);
  return TgSocket::IsClosed(socket);
}

void TgFTP::SetClosed(TSocket socket, bool value) {
  if (socket != kNoSocket && socket == DataSocket) DataClosed = value;
  TgSocket::SetClosed(socket, value);
}

int TgFTP::ReadBuffer(void* data, int size) { return RecvBuffer(DataSocket, data, size); }

uint32_t TgFTP::ControlPeer() const {
  sockaddr_in peer{};
  socklen_t length = sizeof peer;
  if (Handle != kNoSocket && getpeername(Handle, reinterpret_cast<sockaddr*>(&peer), &length) == 0)
    return peer.sin_addr.s_addr;
  return PeerAddress;
}

// --- data connections ---

TSocket TgFTP::OpenDataConnection(bool passive) {
  if (passive) {
    uint16_t port = 0;
    bool ok = false;
    SendCommand("PASV");
    ReadReplyLines(false);
    if (ReplyCode == 227) {
      uint32_t named;
      ok = ParsePasvReply(ReplyText, named, port);
    } else if (ReplyCode >= 500 && ReplyCode < 600) {
      // A server without PASV may still have the extended form.
      SendCommand("EPSV");
      ReadReplyLines(false);
      ok = ReplyCode == 229 && ParseEpsvReply(ReplyText, port);
    }
    if (!ok) {
      Log("err>PASVコマンドを失敗しました", kLogNormal);
      throw EProtocolError(ReplyCode, "ftp pasv", ReplyText);
    }
    DataPort = port;
    // The reply's own address is not used: the data go to the server this connection talks to.
    uint16_t controlPort = ConnectedPort;
    sockaddr_in controlAddress = Address;
    try {
      ConnectSocket(DataSocket, DataPort, ControlPeer());
    } catch (...) {
      ConnectedPort = controlPort;
      Address = controlAddress;
      throw;
    }
    ConnectedPort = controlPort;
    Address = controlAddress;
    DataClosed = false;
    if (DataSocket == kNoSocket) {
      Log("err>data socketの作成に失敗しました", kLogNormal);
      throw ESocketError(WSAENOTSOCK);
    }
    return DataSocket;
  }

  // Active: listen on the address the control connection uses, on a port picked at random.
  TSocket listener = CreateSocket();
  sockaddr_in local{};
  socklen_t length = sizeof local;
  getsockname(Handle, reinterpret_cast<sockaddr*>(&local), &length);
  std::uniform_int_distribution<int> pick(10000, 59999);
  bool bound = false;
  for (int attempt = 0; attempt < 200 && !bound; ++attempt) {
    local.sin_port = htons(static_cast<uint16_t>(pick(PortChooser())));
    bound = ::bind(listener, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
  }
  if (!bound || ::listen(listener, 1) != 0) {
    int code = WSAGetLastError();
    CloseSocketHandle(listener);
    Log("err>listen失敗しました", kLogNormal);
    throw EBindError(WSAErrorName(code));
  }
  DataPort = ntohs(local.sin_port);
  try {
    SendCommand("PORT " + GetLocalAddressText() + GetPortText());
    ReadReplyLines(false);
    if (ReplyCode != 200 && ReplyCode != 250) {
      Log("err>PORTコマンドを失敗しました", kLogNormal);
      throw EProtocolError(ReplyCode, "ftp port", ReplyText);
    }
  } catch (...) {
    CloseSocketHandle(listener);
    throw;
  }
  return listener;
}

void TgFTP::AcceptData(TSocket& listener) {
  uint32_t expected = ControlPeer();
  int slices = 0;
  while (Timeout < 1 || slices < Timeout) {
    pollfd p{listener, POLLIN, 0};
    int ready;
    do ready = ::poll(&p, 1, Timeout < 1 ? -1 : SliceMilliseconds); while (ready < 0 && errno == EINTR);
    if (ready == 0) {
      ++slices;
      bool abort = false;
      if (OnIdle) OnIdle(*this, abort);
      if (abort) break;
      continue;
    }
    if (ready < 0) break;
    TSocket accepted = AcceptOn(listener);
    if (accepted == kNoSocket) break;
    // Only the server may deliver the data.
    if (Address.sin_addr.s_addr != expected) {
      Log("err>" + IPToStr(Address.sin_addr.s_addr) + "からのdata接続を拒否しました", kLogNormal);
      CloseSocketHandle(accepted);
      continue;
    }
    CloseSocketHandle(listener);
    CloseSocketHandle(DataSocket);
    DataSocket = accepted;
    DataClosed = false;
    return;
  }
  CloseSocketHandle(listener);
  Log("err>data socketの作成に失敗しました", kLogNormal);
  LastError = WSAETIMEDOUT;
  FireSocketError(LastError);
  throw ESocketError(WSAETIMEDOUT);
}

// --- transfers ---

void TgFTP::RetrieveFile(const std::string& remote, const std::string& local, bool restart, uint8_t type,
                         bool passive) {
  CloseSocketHandle(DataSocket);
  // A fresh download replaces the old file only once it is whole; a resumed one adds to it.
  std::unique_ptr<TReplacingFile> fresh;
  std::fstream resumed;
  std::ostream* out;
  int64_t position = 0;
  if (restart) {
    resumed.open(local, std::ios::binary | std::ios::in | std::ios::out);
    if (!resumed) resumed.open(local, std::ios::binary | std::ios::out | std::ios::trunc);
    if (!resumed) throw ELocalError("cannot open file " + local);
    resumed.seekp(0, std::ios::end);
    position = static_cast<int64_t>(resumed.tellp());
    out = &resumed;
  } else {
    fresh = std::make_unique<TReplacingFile>(local);
    out = &fresh->Stream();
  }
  if (type != TransferType) SetMode(type);
  TSocket listener = OpenDataConnection(passive);
  struct CloseListener {
    TgFTP* self;
    TSocket& socket;
    bool passive;
    ~CloseListener() {
      if (!passive) self->CloseSocketHandle(socket);
    }
  } closeListener{this, listener, passive};

  RestartAccepted = true;
  try {
    SendCommand("REST " + std::to_string(position));
    ReadFtpReply();
  } catch (const EProtocolError&) {
    // The whole file comes again.
    RestartAccepted = false;
    if (position != 0) {
      resumed.close();
      std::filesystem::resize_file(local, 0);
      resumed.open(local, std::ios::binary | std::ios::in | std::ios::out);
      if (!resumed) throw ELocalError("cannot open file " + local);
      position = 0;
    }
  }
  SendCommand("RETR " + remote);
  ReadFtpReply();
  if (!passive) AcceptData(listener);

  try {
    Busy = true;
    if (OnTransferStart) OnTransferStart(*this);
    ReceiveToStreamFrom(DataSocket, *out, position, -1);
    if (OnTransferEnd) OnTransferEnd(*this);
  } catch (...) {
    Busy = false;
    CloseSocketHandle(DataSocket);
    throw;
  }
  Busy = false;
  CloseSocketHandle(DataSocket);
  ReadFtpReply();
  if (fresh) {
    fresh->Commit();
  } else {
    resumed.flush();
    if (!resumed) throw ELocalError("cannot write file " + local);
  }
}

void TgFTP::StoreFile(const std::string& remote, std::istream& stream, int64_t offset, bool unique, bool append,
                      uint8_t type, bool passive) {
  CloseSocketHandle(DataSocket);
  stream.clear();
  stream.seekg(offset);
  if (type != TransferType) SetMode(type);
  TSocket listener = OpenDataConnection(passive);
  struct CloseListener {
    TgFTP* self;
    TSocket& socket;
    bool passive;
    ~CloseListener() {
      if (!passive) self->CloseSocketHandle(socket);
    }
  } closeListener{this, listener, passive};
  SendCommand((append ? "APPE " : unique ? "STOU " : "STOR ") + remote);
  ReadFtpReply();
  if (!passive) AcceptData(listener);
  try {
    Busy = true;
    if (OnTransferStart) OnTransferStart(*this);
    SendStream(DataSocket, stream, offset, -1);
    if (OnTransferEnd) OnTransferEnd(*this);
  } catch (...) {
    Busy = false;
    CloseSocketHandle(DataSocket);
    throw;
  }
  Busy = false;
  CloseSocketHandle(DataSocket);
  ReadFtpReply();
}

void TgFTP::ListCommand(const std::string& command, TFTPDirectoryList& target, bool passive) {
  CloseSocketHandle(DataSocket);
  if (TransferType != 0) SetMode(0);
  TSocket listener = OpenDataConnection(passive);
  struct CloseListener {
    TgFTP* self;
    TSocket& socket;
    bool passive;
    ~CloseListener() {
      if (!passive) self->CloseSocketHandle(socket);
    }
  } closeListener{this, listener, passive};
  SendCommand(command);
  ReadFtpReply();
  if (!passive) AcceptData(listener);
  bool names = command == "NLST" || command.compare(0, 5, "NLST ") == 0;
  try {
    Busy = true;
    if (OnTransferStart) OnTransferStart(*this);
    target.Clear();
    std::string line;
    while (!IsClosed(DataSocket)) {
      ReadLineFrom(DataSocket, line);
      if (line.empty()) continue;
      if (!ParseListing) {
        if (OnListLine) OnListLine(line);
      } else if (names) {
        // A name list holds names only, whatever they look like.
        TFTPFileProperty p;
        p.FileType = kFtpFile;
        p.Name = line;
        p.Line = line;
        target.AddProperty(p);
      } else {
        target.Add(line);
      }
    }
    if (OnTransferEnd) OnTransferEnd(*this);
  } catch (...) {
    Busy = false;
    CloseSocketHandle(DataSocket);
    throw;
  }
  Busy = false;
  CloseSocketHandle(DataSocket);
  ReadFtpReply();
}

// --- wrapped operations ---

void TgFTP::ChangeDir(const std::string& dir) {
  Run(TFTPCmdType::cmdChangeDir, "nfo>currentdirを" + dir + "に変更します", "nfo>change dir終了しました",
      "err>CWDコマンドを失敗しました", [&] {
        SendCommand("CWD " + dir);
        ReadFtpReply();
        CurrentDir = Quoted(ReplyText);
        DirectoryList.Clear();
        // Many servers do not name the new folder in their answer to CWD: PWD does.
        SendCommand("PWD");
        ReadFtpReply();
        std::string current = Quoted(ReplyText);
        if (!current.empty()) CurrentDir = current;
      });
}

void TgFTP::MakeDir(const std::string& dir) {
  Run(TFTPCmdType::cmdMakeDir, "nfo>" + dir + "を作成します", "nfo>make directory終了しました",
      "err>MKDコマンドを失敗しました", [&] {
        SendCommand("MKD " + dir);
        ReadFtpReply();
      });
}

void TgFTP::Delete(const std::string& name) {
  Run(TFTPCmdType::cmdDelete, "nfo>" + name + "を削除します", "nfo>delete終了しました",
      "err>DELEコマンドを失敗しました", [&] {
        SendCommand("DELE " + name);
        ReadFtpReply();
      });
}

void TgFTP::RemoveDir(const std::string& dir) {
  Run(TFTPCmdType::cmdRemoveDir, "nfo>" + dir + "を削除します", "nfo>remove directory終了しました",
      "err>RMDコマンドを失敗しました", [&] {
        SendCommand("RMD " + dir);
        ReadFtpReply();
      });
}

void TgFTP::ReadDirectory() {
  Run(TFTPCmdType::cmdList, "nfo>listを取得します", "nfo>list取得終了しました", "err>LISTコマンドを失敗しました",
      [&] { ListCommand("LIST", DirectoryList, Passive); });
}

void TgFTP::NList() {
  Run(TFTPCmdType::cmdNList, "nfo>listを取得します", "nfo>list取得終了しました", "err>NLSTコマンドを失敗しました",
      [&] { ListCommand("NLST", DirectoryList, Passive); });
}

void TgFTP::Rename(const std::string& from, const std::string& to) {
  Run(TFTPCmdType::cmdRename, "nfo>" + from + "を" + to + "に変更します", "nfo>rename終了しました",
      "err>renameを失敗しました", [&] {
        SendCommand("RNFR " + from);
        ReadFtpReply();
        SendCommand("RNTO " + to);
        ReadFtpReply();
      });
}

void TgFTP::Download(const std::string& remote, const std::string& local) {
  Run(TFTPCmdType::cmdDownload, "nfo>" + remote + "のdownloadを開始します", "nfo>download終了しました",
      "err>download失敗しました", [&] { RetrieveFile(remote, local, false, 1, Passive); });
}

void TgFTP::DownloadRestore(const std::string& remote, const std::string& local) {
  Run(TFTPCmdType::cmdDownRestore, "nfo>" + remote + "のdownloadを開始します", "nfo>download終了しました",
      "err>downloadを失敗しました", [&] { RetrieveFile(remote, local, true, 1, Passive); });
}

void TgFTP::UploadFile(TFTPCmdType cmd, const std::string& local, const std::string& remote, int64_t offset,
                       bool append) {
  Run(cmd, "nfo>" + local + "のuploadを開始します", kUploadEnd, kUploadError, [&] {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(local, ec)) throw ELocalError("upload file not found");
    std::ifstream file(local, std::ios::binary);
    if (!file) throw ELocalError("upload file not found");
    StoreFile(remote, file, offset, false, append, 1, Passive);
  });
}

void TgFTP::Upload(const std::string& local, const std::string& remote) {
  UploadFile(TFTPCmdType::cmdUpload, local, remote, 0, false);
}

void TgFTP::UploadAppend(const std::string& local, const std::string& remote) {
  UploadFile(TFTPCmdType::cmdAppend, local, remote, 0, true);
}

void TgFTP::UploadRestore(const std::string& local, const std::string& remote, int64_t offset) {
  UploadFile(TFTPCmdType::cmdUpRestore, local, remote, std::max<int64_t>(offset, 0), true);
}

void TgFTP::UploadUnique(const std::string& local) {
  Run(TFTPCmdType::cmdUpload, "nfo>" + local + "のuploadを開始します", kUploadEnd, kUploadError, [&] {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(local, ec)) throw ELocalError("upload file not found");
    std::ifstream file(local, std::ios::binary);
    if (!file) throw ELocalError("upload file not found");
    std::string name = BaseName(local);
    ScratchListing quiet(*this, true);
    TFTPDirectoryList scratch;
    for (int tries = 0;; ++tries) {
      if (tries >= kMaxUniqueTries) throw EProtocolError(0, "ftp", "no free name for " + BaseName(local));
      try {
        ListCommand("LIST " + name, scratch, Passive);
      } catch (const EProtocolError& e) {
        // Servers answer a listing of a name they do not have with 450 or 550: the name is free.
        if (e.Code != 450 && e.Code != 550) throw;
        scratch.Clear();
      }
      if (!scratch.HasName(name)) break;
      name = NumberedFileName(name);
    }
    StoreFile(name, file, 0, false, false, 1, Passive);
  });
}

void TgFTP::SetMode(uint8_t type) {
  Run(TFTPCmdType::cmdMode, "nfo>file modeを変更します", "nfo>file mode終了しました", "err>TYPEコマンドを失敗しました",
      [&] {
        SendCommand(type == 0 ? "TYPE A" : type == 2 ? "TYPE B" : "TYPE I");
        ReadFtpReply();
        TransferType = type;
      });
}

void TgFTP::PrintWorkDir() {
  Run(TFTPCmdType::cmdCurrentDir, "", nullptr, "err>PWDコマンドを失敗しました", [&] {
    SendCommand("PWD");
    ReadFtpReply();
    CurrentDir = Quoted(ReplyText);
  });
}

void TgFTP::Reinitialize() {
  Run(TFTPCmdType::cmdReInit, "nfo>接続を初期化します", "nfo>reinitialize終了しました", "err>REINコマンドを失敗しました",
      [&] {
        SendCommand("REIN");
        ReadFtpReply();
      });
}

void TgFTP::GetFileProperty(const std::string& name, TFTPFileProperty& property) {
  property = TFTPFileProperty{};
  property.Size = -1;
  try {
    if (Busy) throw EProtocolBusy();
    ScratchListing quiet(*this, true);
    TFTPDirectoryList scratch;
    try {
      ListCommand("LIST " + name, scratch, Passive);
    } catch (const EProtocolError&) {
      // no listing of it: SIZE may still know it
    }
    std::string base = BaseName(name);
    for (int i = 0; i < scratch.Count(); ++i) {
      const TFTPFileProperty& e = scratch.GetItem(i);
      if ((e.Name == name || e.Name == base) && e.FileType == kFtpFile) {
        property.Size = e.Size;
        property.Name = e.Name;
        property.FileType = e.FileType;
        property.Modified = e.Modified;
        break;
      }
    }
    if (property.Size == -1) {
      if (TransferType != 1) SetMode(1);
      SendCommand("SIZE " + name);
      ReadFtpReply();
      int64_t size;
      if (rt::TryStrToInt64(Trim(ReplyText), size)) property.Size = size;
    }
  } catch (...) {
    // a property that cannot be had reads as size 0
  }
  if (property.Size == -1) property.Size = 0;
}

void TgFTP::FindFiles(const std::string& dir, const std::string& mask, bool recursive,
                      std::vector<std::string>& result) {
  // The folder to come back to must be known.
  if (CurrentDir.empty()) PrintWorkDir();
  std::string start = CurrentDir;
  std::unordered_set<std::string> searched;
  try {
    Find(dir, mask, recursive, result, 0, searched);
  } catch (...) {
    // A search given up deep down still ends where it began, as far as the server lets it.
    if (Connected && !start.empty() && CurrentDir != start) {
      try {
        ChangeDir(start);
      } catch (...) {
        // the failure that ended the search is the one to report
      }
    }
    throw;
  }
}

void TgFTP::Find(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result,
                 int depth, std::unordered_set<std::string>& searched) {
  std::string saved = CurrentDir;
  ScratchListing parsed(*this, false);
  if (!dir.empty() && dir != CurrentDir) ChangeDir(dir);
  // The server's own name of the folder: one reached again (a link back up, another name for it)
  // is not listed twice.
  if (searched.insert(CurrentDir).second) {
    if (searched.size() > MaxFindFolders) {
      std::string text = "more than " + std::to_string(MaxFindFolders) + " folders to search";
      Log("err>" + text, kLogNormal);
      throw EProtocolError(0, "ftp", text);
    }
    TFTPDirectoryList scratch;
    ListCommand("LIST", scratch, Passive);
    std::string prefix = CurrentDir.empty() ? "/" : EnsureTrailingDelimiter(CurrentDir);
    std::vector<std::string> folders;
    for (int i = 0; i < scratch.Count(); ++i) {
      const TFTPFileProperty& e = scratch.GetItem(i);
      if (e.FileType == kFtpDirectory) {
        if (e.Name != "." && e.Name != ".." && e.Name.find('/') == std::string::npos) folders.push_back(e.Name);
      } else if (e.FileType == kFtpFile && (mask.empty() || MatchMask(e.Name, mask, true))) {
        result.push_back(prefix + e.Name);
      }
    }
    if (recursive && depth + 1 < kMaxFindDepth) {
      for (const std::string& folder : folders) Find(prefix + folder, mask, recursive, result, depth + 1, searched);
    }
  }
  if (!saved.empty() && saved != CurrentDir) ChangeDir(saved);
}

}  // namespace net
