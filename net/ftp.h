// TgFTP: an FTP client on TgSocket. The own socket is the control connection; each transfer or
// listing opens a data connection, passive (PASV, or EPSV where a server has no PASV) or active
// (PORT, with a listener on the control connection's local address). Every operation reports
// through status lines, OnSuccess/OnProtocolError/OnFailure with its TFTPCmdType, and exceptions
// that an OnFailure handler may swallow.
//
// Guards against a hostile or broken server and against bad arguments:
//  - a passive data connection goes to the control connection's peer, whatever address the
//    server's reply names, and the reply's six numbers are checked;
//  - in active mode only the control peer may connect, and it is waited for at most Timeout;
//  - no command line carries a CR, LF or NUL from an argument (EProtocolError "ftp");
//  - the password never appears in a status line;
//  - a download goes into a file beside the target, which replaces it only once complete.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <unordered_set>
#include <vector>

#include "net/ftp_listing.h"
#include "net/socket.h"

namespace net {

enum class TFTPCmdType : uint8_t {
  cmdChangeDir, cmdMakeDir, cmdDelete, cmdRemoveDir, cmdList, cmdRename, cmdUpRestore, cmdDownRestore,
  cmdDownload, cmdUpload, cmdAppend, cmdReInit, cmdAllocate, cmdNList, cmdDoCommand, cmdCurrentDir,
  cmdAbort, cmdMode, cmdSIZE
};
// "cmdChangeDir" ... "cmdSIZE".
const char* FtpCmdName(TFTPCmdType cmd);

using TFTPFlagEvent = std::function<void(bool& retry)>;
using TFTPCmdEvent = std::function<void(TFTPCmdType cmd)>;
using TFTPLineEvent = std::function<void(const std::string& line)>;
using TFTPFailureEvent = std::function<void(bool& ignore, TFTPCmdType cmd)>;

// How deep FindFiles descends; deeper directories (a link loop, say) are not searched.
constexpr int kMaxFindDepth = 32;
// How many folders one recursive FindFiles lists at most; a server whose tree has no end fails it.
constexpr size_t kMaxFindFolders = 100000;

class TgFTP : public TgSocket {
 public:
  explicit TgFTP(int bufferSize);
  ~TgFTP() override;

  bool ParseListing = true;
  std::string User = "anonymous";
  std::string Password;
  std::string CurrentDir;
  TFTPDirectoryList DirectoryList;
  TSocket DataSocket = kNoSocket;
  uint16_t DataPort = 20;
  bool Busy = false;
  uint8_t TransferType = 3;
  bool RestartAccepted = false;
  bool DataClosed = false;
  bool Passive = false;

  TFTPFlagEvent OnLoginFailure;
  TFTPFlagEvent OnNeedUser;
  TSocketNotifyEvent OnTransferStart;
  TSocketNotifyEvent OnTransferEnd;
  TFTPCmdEvent OnSuccess;
  TFTPCmdEvent OnProtocolError;
  TFTPLineEvent OnListLine;
  TFTPFailureEvent OnFailure;

  // --- overrides ---
  // Greeting and login.
  void Connect() override;
  // QUIT (an ABOR first while a transfer runs), then the connection closes.
  void Disconnect() override;
  void Abort() override;
  void SendCommand(const std::string& line, bool noSend = false) override;
  std::string GetPortText() override;
  bool IsClosed(TSocket socket) override;
  void SetClosed(TSocket socket, bool value) override;
  int ReadBuffer(void* data, int size) override;

  // --- transfers ---
  virtual void RetrieveFile(const std::string& remote, const std::string& local, bool restart, uint8_t type,
                            bool passive);
  virtual void Download(const std::string& remote, const std::string& local);
  virtual void Upload(const std::string& local, const std::string& remote);
  virtual void UploadRestore(const std::string& local, const std::string& remote, int64_t offset);
  // Size and date of a file from a LIST of it, else from SIZE; never raises (size 0 when unknown).
  virtual void GetFileProperty(const std::string& name, TFTPFileProperty& property);
  virtual void ListCommand(const std::string& command, TFTPDirectoryList& target, bool passive);

  void DownloadRestore(const std::string& remote, const std::string& local);
  void UploadAppend(const std::string& local, const std::string& remote);
  // Stores the file under its own name, or the first numbered name the server does not have yet.
  void UploadUnique(const std::string& local);
  void StoreFile(const std::string& remote, std::istream& stream, int64_t offset, bool unique, bool append,
                 uint8_t type, bool passive);

  // --- commands ---
  void ChangeDir(const std::string& dir);
  void MakeDir(const std::string& dir);
  void Delete(const std::string& name);
  void RemoveDir(const std::string& dir);
  void ReadDirectory();
  void NList();
  void Rename(const std::string& from, const std::string& to);
  // 0 "TYPE A", 2 "TYPE B", anything else "TYPE I".
  void SetMode(uint8_t type);
  void PrintWorkDir();
  void Reinitialize();
  // Files matching the mask (every file when empty) under dir, as full paths; "." and ".." are
  // never entered, and a folder the server names as one already searched is not searched again.
  // Listing more than MaxFindFolders folders raises EProtocolError.
  void FindFiles(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result);
  size_t MaxFindFolders = kMaxFindFolders;

  // Reads one reply (all lines of a multi-line one); a code of 400 and above raises EProtocolError.
  void ReadFtpReply();
  // The data connection: the connected socket (passive) or the listener (active).
  TSocket OpenDataConnection(bool passive);

 protected:
  // Where the data connections of passive mode go: the control connection's peer.
  uint32_t ControlPeer() const;

 private:
  void Run(TFTPCmdType cmd, const std::string& start, const char* end, const char* error,
           const std::function<void()>& work);
  void ReadReplyLines(bool raise);
  void Login();
  // Active mode: the server's connection to the listener (which is closed), or ESocketError.
  void AcceptData(TSocket& listener);
  void Find(const std::string& dir, const std::string& mask, bool recursive, std::vector<std::string>& result,
            int depth, std::unordered_set<std::string>& searched);
  void UploadFile(TFTPCmdType cmd, const std::string& local, const std::string& remote, int64_t offset, bool append);

  int greeting_ = 0;
};

}  // namespace net
