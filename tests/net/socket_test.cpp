#include "net/socket.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <utility>
#include <sstream>
#include <string>
#include <vector>

#include "http_servers.h"
#include "killed_download.h"
#include "loopback_peer.h"
#include "net/host_address.h"
#include "net/wsa_errors.h"

using nettest::LoopbackPeer;
using nettest::ReadUntil;
using nettest::ReadUntilClose;
using nettest::SendAll;
using nettest::Signal;

namespace {

// A socket with short wait slices that records its status lines.
struct TestSocket : net::TgSocket {
  TestSocket() : net::TgSocket(4096) {
    SliceMilliseconds = 20;
    OnStatus = [this](net::TgSocket&, const std::string& text) { log.push_back(text); };
  }
  void connectTo(uint16_t port) {
    Host = "127.0.0.1";
    Port = port;
    Connect();
  }
  std::vector<std::string> log;
};

std::vector<std::string> ReadLines(net::TgSocket& s, int count) {
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) {
    std::string line;
    s.ReadLine(line);
    lines.push_back(line);
  }
  return lines;
}

struct LineCase {
  const char* name;
  std::string sent;
  std::vector<std::string> lines;
};

class LineReading : public testing::TestWithParam<LineCase> {};

TEST_P(LineReading, SplitsAsTheChunkRulesSay) {
  const LineCase& c = GetParam();
  LoopbackPeer peer([&](int fd) { SendAll(fd, c.sent); });
  TestSocket s;
  s.connectTo(peer.port());
  EXPECT_EQ(ReadLines(s, static_cast<int>(c.lines.size())), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Socket, LineReading,
    testing::Values(
        LineCase{"CrLf", "one\r\ntwo\r\n", {"one", "two"}},
        LineCase{"BareLf", "one\ntwo\n", {"one", "two"}},
        LineCase{"BareCr", "one\rtwo\r", {"one", "two"}},
        // CR LF is looked for first, so a bare LF before it stays inside the line.
        LineCase{"LfBeforeCrLf", "abc\ndef\r\n", {"abc\ndef"}},
        // A peer that closes without a line end gives the rest, then empty lines.
        LineCase{"CloseWithoutLineEnd", "xyz", {"xyz", "", ""}},
        // The CR of this line is the last byte of the first 1024-byte look; its LF must not come
        // back as an empty line.
        LineCase{"CrEndsTheLook", std::string(1023, 'a') + "\r\nnext\r\n", {std::string(1023, 'a'), "next"}},
        LineCase{"LongLine", std::string(5000, 'b') + "\r\nz\n", {std::string(5000, 'b'), "z"}},
        LineCase{"EmptyLines", "\r\n\r\n\r\nx\n", {"", "", "", "x"}},
        LineCase{"LfJoinsAnEmptyLineBeforeCrLf", "\r\n\n\r\nx\r\n", {"", "\n", "x"}}),
    [](const testing::TestParamInfo<LineCase>& info) { return info.param.name; });

TEST(Socket, LineEndSplitBetweenSegmentsGivesNoEmptyLine) {
  Signal crConsumed;
  LoopbackPeer peer([&](int fd) {
    SendAll(fd, "head\r");
    crConsumed.wait();
    SendAll(fd, "\nbody\r\n");
  });
  TestSocket s;
  s.SliceMilliseconds = 2000;  // the LF is sent only after the CR was taken: give it time to arrive
  s.OnRead = [&](net::TgSocket&, int, bool&) { crConsumed.raise(); };
  s.connectTo(peer.port());
  EXPECT_EQ(ReadLines(s, 2), (std::vector<std::string>{"head", "body"}));
  EXPECT_EQ(s.BytesRead, 12);
}

TEST(Socket, EndlessLineIsCutOff) {
  LoopbackPeer peer([&](int fd) {
    std::string block(65536, 'x');
    for (size_t sent = 0; sent <= net::kMaxLineLength; sent += block.size()) SendAll(fd, block);
  });
  TestSocket s;
  s.connectTo(peer.port());
  std::string line;
  EXPECT_THROW(s.ReadLine(line), net::EProtocolError);
  s.Disconnect();
}

TEST(Socket, ReceiveTimesOutAfterTimeoutSlices) {
  Signal done;
  LoopbackPeer peer([&](int) { done.wait(); });
  TestSocket s;
  s.connectTo(peer.port());
  s.Timeout = 3;
  s.LogLevel = net::kLogDetail;
  int idle = 0;
  s.OnIdle = [&](net::TgSocket&, bool&) { ++idle; };
  int errorCode = -1;
  s.OnSocketError = [&](net::TgSocket&, int code, const std::string&) { errorCode = code; };
  s.log.clear();
  std::string text;
  try {
    s.ReadString(text, 10);
    FAIL() << "no time-out";
  } catch (const net::ESocketTimeout& e) {
    EXPECT_EQ(e.message(), "socket timeout");
  }
  done.raise();
  EXPECT_EQ(idle, 3);
  EXPECT_TRUE(s.TimedOut);
  EXPECT_TRUE(s.IsClosed(s.Handle));
  EXPECT_EQ(errorCode, net::WSAETIMEDOUT);
  EXPECT_EQ(s.log, (std::vector<std::string>{"err>recv timeout", "dbg>WSAETIMEDOUT"}));
  // After a time-out the connection counts as closed: a line read gives nothing and does not wait.
  std::string line = "stale";
  s.ReadLine(line);
  EXPECT_EQ(line, "");
}

TEST(Socket, IdleHandlerCanAbortTheWait) {
  Signal done;
  LoopbackPeer peer([&](int) { done.wait(); });
  TestSocket s;
  s.connectTo(peer.port());
  int idle = 0;
  s.OnIdle = [&](net::TgSocket&, bool& abort) {
    ++idle;
    abort = true;
  };
  std::string line;
  EXPECT_THROW(s.ReadLine(line), net::ESocketTimeout);
  done.raise();
  EXPECT_EQ(idle, 1);
  EXPECT_TRUE(s.TimedOut);
}

TEST(Socket, TimeoutZeroBlocksWithoutSlices) {
  LoopbackPeer peer([&](int fd) { SendAll(fd, "late\r\n"); });
  TestSocket s;
  s.Timeout = 0;
  int idle = 0;
  s.OnIdle = [&](net::TgSocket&, bool&) { ++idle; };
  s.connectTo(peer.port());
  EXPECT_EQ(ReadLines(s, 1), std::vector<std::string>{"late"});
  EXPECT_EQ(idle, 0);
}

TEST(Socket, ConnectAndDisconnectLogAtEachLevel) {
  struct Level {
    int level;
    size_t lines;
  };
  for (Level l : {Level{0, 0}, Level{2, 3}, Level{4, 8}, Level{8, 9}}) {
    LoopbackPeer peer([&](int) {});
    TestSocket s;
    s.LogLevel = l.level;
    s.connectTo(peer.port());
    int handle = s.Handle;
    s.Disconnect();
    std::string p = std::to_string(peer.port());
    std::string h = std::to_string(handle);
    std::vector<std::string> all = {
        "rtn>127.0.0.1を探しています",      "suc>127.0.0.1が見つかりました",
        "rtn>socketを作成します",           "dbg>socket(" + h + ")を作成しました",
        "rtn>127.0.0.1にconnectします",     "suc>127.0.0.1(127.0.0.1):" + p + "にconnect成功しました",
        "nfo>127.0.0.1:" + p + "から切断します", "rtn>socket(" + h + ")をcloseします"};
    std::vector<int> levels = {4, 2, 4, 8, 4, 2, 2, 4};
    std::vector<std::string> want;
    for (size_t i = 0; i < all.size(); ++i) {
      if (levels[i] <= l.level) want.push_back(all[i]);
    }
    EXPECT_EQ(s.log, want) << "level " << l.level;
  }
}

TEST(Socket, RefusedConnectReportsInOrder) {
  uint16_t port = nettest::UnusedPort();
  TestSocket s;
  std::vector<std::string> events;
  s.OnConnectFailed = [&](net::TgSocket&) { events.push_back("failed"); };
  s.OnSocketError = [&](net::TgSocket&, int code, const std::string& name) {
    events.push_back(std::to_string(code) + " " + name);
  };
  try {
    s.connectTo(port);
    FAIL() << "connected to a closed port";
  } catch (const net::ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, 10061);
    EXPECT_EQ(e.message(), "socket error no.10061");
  }
  EXPECT_EQ(events, (std::vector<std::string>{"failed", "10061 WSAECONNREFUSED"}));
  EXPECT_FALSE(s.Connected);
  EXPECT_EQ(s.LastError, 10061);
  EXPECT_EQ(s.log.back(), "err>127.0.0.1(127.0.0.1):" + std::to_string(port) + "にconnect失敗しました");
}

TEST(Socket, ConnectToAPortThatNeverAcceptsFailsWithinTheTimeout) {
  // A backlog of 0 holds one pending connection; with that taken, the next handshake never completes.
  LoopbackPeer peer(nullptr, 0);
  int filler = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = htons(peer.port());
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ASSERT_EQ(::connect(filler, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);

  TestSocket s;
  s.Timeout = 2;
  s.SliceMilliseconds = 100;
  int idle = 0;
  s.OnIdle = [&](net::TgSocket&, bool&) { ++idle; };
  auto start = std::chrono::steady_clock::now();
  try {
    s.connectTo(peer.port());
    FAIL() << "connected to a full backlog";
  } catch (const net::ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, net::WSAETIMEDOUT);
  }
  auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_LT(elapsed, std::chrono::seconds(5));
  EXPECT_EQ(idle, 2);
  ::close(filler);
}

TEST(Socket, UnresolvedHostIsRetriedFiveTimesWhenAsked) {
  struct NoDns : TestSocket {
    int lookups = 0;
    uint32_t Resolve(const std::string&, int& error) override {
      ++lookups;
      error = net::WSAHOST_NOT_FOUND;
      return net::kNoAddress;
    }
  } s;
  s.OnResolveError = [](bool& retry) { retry = true; };
  s.Host = "nowhere";
  s.Port = 80;
  try {
    s.Connect();
    FAIL() << "resolved the unresolvable";
  } catch (const net::ETCPIPError& e) {
    EXPECT_EQ(e.message(), "not found nowhere");
    EXPECT_EQ(e.Address, net::kNoAddress);
  }
  EXPECT_EQ(s.lookups, 6);
  EXPECT_EQ(s.LastError, net::WSAHOST_NOT_FOUND);
  EXPECT_EQ(s.log.back(), "err>nowhereが見つかりません");
}

TEST(Socket, CountersAndReadCancel) {
  LoopbackPeer peer([&](int fd) {
    EXPECT_EQ(ReadUntil(fd, "\r\n"), "hello\r\n");
    SendAll(fd, "0123456789");
  });
  TestSocket s;
  s.connectTo(peer.port());
  s.SendLine("hello");
  EXPECT_EQ(s.BytesWritten, 7);
  std::vector<int> counts;
  s.OnRead = [&](net::TgSocket&, int count, bool& cancel) {
    counts.push_back(count);
    cancel = true;
  };
  std::string text;
  try {
    s.ReadString(text, 10);
    FAIL() << "no cancel";
  } catch (const net::ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, 0);
  }
  ASSERT_FALSE(counts.empty());
  EXPECT_EQ(s.BytesRead, counts[0]);
  EXPECT_EQ(s.BytesTotal, 7 + s.BytesRead);
}

// A read that a handler cancels keeps the text as it was before that read: no room made for the
// cancelled bytes stays behind.
TEST(Socket, CancelledReadLeavesTheTextWhole) {
  Signal more;
  LoopbackPeer peer([&](int fd) {
    SendAll(fd, "first part|");
    more.wait();
    SendAll(fd, "second part");
  });
  TestSocket s;
  s.connectTo(peer.port());
  int reads = 0;
  s.OnRead = [&](net::TgSocket&, int, bool& cancel) {
    if (++reads == 1) more.raise();
    cancel = reads == 2;
  };
  std::string text = "kept:";
  EXPECT_THROW(s.ReceiveToString(text, -1), net::ESocketError);
  EXPECT_EQ(text, "kept:first part|");
}

TEST(Socket, LargeSendArrivesWhole) {
  std::string data;
  for (int i = 0; i < 300000; ++i) data += static_cast<char>('a' + i % 26);
  std::string got;
  TestSocket s;
  int writes = 0;
  {
    LoopbackPeer peer([&](int fd) { got = ReadUntilClose(fd); }, 5, 4096);
    s.connectTo(peer.port());
    s.OnWrite = [&](net::TgSocket&, int, bool&) { ++writes; };
    s.SendString(data);
    s.Disconnect();
  }
  EXPECT_EQ(got.size(), data.size());
  EXPECT_TRUE(got == data);
  EXPECT_EQ(s.BytesWritten, static_cast<int64_t>(data.size()));
  EXPECT_GE(writes, static_cast<int>(data.size() / 4096));
}

TEST(Socket, SendToAPeerThatNeverReadsTimesOut) {
  Signal done;
  LoopbackPeer peer([&](int) { done.wait(); }, 5, 4096);
  TestSocket s;
  s.connectTo(peer.port());
  int small = 4096;
  setsockopt(s.Handle, SOL_SOCKET, SO_SNDBUF, &small, sizeof small);
  s.Timeout = 2;
  std::string block(1 << 20, 'x');
  try {
    for (int i = 0; i < 64; ++i) s.SendString(block);
    FAIL() << "no send time-out";
  } catch (const net::ESocketTimeout& e) {
    EXPECT_EQ(e.message(), "Send Timeout");
  }
  done.raise();
  EXPECT_TRUE(s.TimedOut);
  EXPECT_EQ(s.log.back(), "err>send timeout");
}

TEST(Socket, DisconnectWhenNeverConnected) {
  TestSocket s;
  s.LogLevel = net::kLogDetail;
  int fired = 0;
  s.OnDisconnect = [&](net::TgSocket&) { ++fired; };
  s.Disconnect();
  EXPECT_EQ(fired, 1);
  EXPECT_TRUE(s.log.empty());
}

// Nothing to read from is an error, for each way of reading, and a file to capture into stays as
// it was; a connection the peer closed reads as empty instead.
TEST(Socket, ReadingWithoutAConnectionFails) {
  std::string folder = nettest::MakeFolder();
  std::string target = folder + "/kept.txt";
  nettest::WriteFile(target, "old");
  const std::vector<std::pair<const char*, std::function<void(net::TgSocket&)>>> reads = {
      {"ReadLine", [](net::TgSocket& s) { std::string line; s.ReadLine(line); }},
      {"ReadString all", [](net::TgSocket& s) { std::string text; s.ReadString(text, -1); }},
      {"ReadString 5", [](net::TgSocket& s) { std::string text; s.ReadString(text, 5); }},
      {"ReceiveToStream", [](net::TgSocket& s) { std::ostringstream out; s.ReceiveToStream(out, -1); }},
      {"ReceiveToFile", [&](net::TgSocket& s) { s.ReceiveToFile(target); }},
  };
  for (const auto& [name, read] : reads) {
    TestSocket s;
    s.LogLevel = net::kLogDetail;
    std::vector<int> errors;
    s.OnSocketError = [&](net::TgSocket&, int code, const std::string&) { errors.push_back(code); };
    try {
      read(s);
      ADD_FAILURE() << name << " read nothing and reported no error";
    } catch (const net::ESocketError& e) {
      EXPECT_EQ(e.ErrorCode, net::WSAENOTSOCK) << name;
    }
    EXPECT_EQ(errors, std::vector<int>{net::WSAENOTSOCK}) << name;
    EXPECT_EQ(s.log, (std::vector<std::string>{"err>socket error", "dbg>" + net::WSAErrorName(net::WSAENOTSOCK)}))
        << name;
  }
  EXPECT_EQ(nettest::ReadFile(target), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);

  LoopbackPeer peer([&](int fd) { SendAll(fd, "last"); });
  TestSocket s;
  s.connectTo(peer.port());
  EXPECT_EQ(ReadLines(s, 2), (std::vector<std::string>{"last", ""}));
  std::string rest = "x";
  s.ReadString(rest, -1);
  EXPECT_EQ(rest, "");
  s.Disconnect();
  EXPECT_THROW(ReadLines(s, 1), net::ESocketError);

  // A failed connect leaves a socket that was never connected.
  TestSocket refused;
  EXPECT_THROW(refused.connectTo(nettest::UnusedPort()), net::ESocketError);
  ASSERT_NE(refused.Handle, net::kNoSocket);
  try {
    ReadLines(refused, 1);
    ADD_FAILURE() << "a socket whose connect failed read as empty";
  } catch (const net::ESocketError& e) {
    EXPECT_EQ(e.ErrorCode, net::WSAENOTCONN);
  }
}

TEST(Socket, CheckConnected) {
  TestSocket s;
  try {
    s.CheckConnected();
    FAIL() << "no error";
  } catch (const net::ETCPIPError& e) {
    EXPECT_EQ(e.message(), "not connected");
  }
  LoopbackPeer peer([&](int fd) { SendAll(fd, "hi\n"); });
  s.Host = "127.0.0.1";
  s.Port = peer.port();
  s.OnNeedConnect = [](bool& doConnect) { doConnect = true; };
  s.CheckConnected();
  EXPECT_TRUE(s.Connected);
  s.OnNeedConnect = [](bool&) { ADD_FAILURE() << "asked while connected"; };
  s.CheckConnected();
  EXPECT_EQ(ReadLines(s, 1), std::vector<std::string>{"hi"});
}

TEST(Socket, CancelDisconnectsAndRaises) {
  LoopbackPeer peer([&](int) {});
  TestSocket s;
  s.LogLevel = net::kLogRoutine;
  s.connectTo(peer.port());
  EXPECT_THROW(s.Cancel(), net::ESocketCancel);
  EXPECT_TRUE(s.Cancelled);
  EXPECT_FALSE(s.Connected);
  EXPECT_EQ(s.Handle, net::kNoSocket);
}

TEST(Socket, ListenAcceptAndServeAConnection) {
  TestSocket server;
  server.LogLevel = net::kLogRoutine;
  server.Port = 0;
  server.Listen();
  ASSERT_TRUE(server.Listening);
  sockaddr_in local{};
  socklen_t len = sizeof local;
  getsockname(server.Handle, reinterpret_cast<sockaddr*>(&local), &len);

  TestSocket client;
  client.connectTo(ntohs(local.sin_port));
  int acceptedEvent = -1;
  server.OnAccept = [&](net::TgSocket&, net::TSocket handle, const sockaddr_in&) { acceptedEvent = handle; };
  net::TSocket handle = server.AcceptConnection();
  ASSERT_NE(handle, net::kNoSocket);
  EXPECT_EQ(acceptedEvent, handle);

  net::TgSocket conn(net::TgSocket::AcceptedHandle{handle}, 1024);
  EXPECT_TRUE(conn.Connected);
  EXPECT_EQ(conn.Timeout, 120);
  EXPECT_EQ(net::IPToStr(conn.PeerAddress), "127.0.0.1");
  std::string reply;
  client.SendLine("ping");
  std::string line;
  conn.ReadLine(line);
  EXPECT_EQ(line, "ping");
  conn.SendCommand("pong");
  client.ReadReply(reply);
  EXPECT_EQ(reply, "pong");
  EXPECT_EQ(client.LastReply, "pong");
  EXPECT_EQ(client.log.back(), "res>pong");
  EXPECT_EQ(server.log, (std::vector<std::string>{"rtn>socketを作成します", "suc>port 0でbind成功しました",
                                                  "rtn>listenを開始します", "suc>listen成功しました",
                                                  "rtn>acceptを開始します", "suc>acceptに成功しました"}));
}

TEST(Socket, SendCommandReadBlockCollectsUntilEmptyLine) {
  LoopbackPeer peer([&](int fd) {
    EXPECT_EQ(ReadUntil(fd, "\r\n"), "LIST\r\n");
    SendAll(fd, "a\r\nb\r\n\r\nnot this\r\n");
  });
  TestSocket s;
  s.connectTo(peer.port());
  std::string reply;
  s.SendCommandReadBlock("LIST", reply);
  EXPECT_EQ(reply, "a\r\nb\r\n\r\n");
  EXPECT_EQ(s.LastReply, reply);
}

TEST(Socket, ReceiveToStreamUntilClose) {
  LoopbackPeer peer([&](int fd) { SendAll(fd, std::string(100000, 'q')); });
  TestSocket s;
  s.connectTo(peer.port());
  std::ostringstream out;
  EXPECT_TRUE(s.ReceiveToStream(out, -1));
  EXPECT_EQ(out.str(), std::string(100000, 'q'));
  EXPECT_EQ(s.Handle, net::kNoSocket);  // the end of the stream closed the handle
  EXPECT_TRUE(s.Connected);             // until Disconnect
  s.Disconnect();
}

// A capture killed part way leaves the old file whole and nothing beside it.
TEST(Socket, KilledCaptureLeavesOnlyTheOldFile) {
  const std::string content(3'000'000, 'k');
  std::string folder = nettest::MakeFolder();
  std::string target = folder + "/capture.bin";
  nettest::WriteFile(target, "old");
  LoopbackPeer peer([&](int fd) { SendAll(fd, content); });
  EXPECT_TRUE(nettest::KilledPartWay(
      [&] {
        TestSocket s;
        s.connectTo(peer.port());
        nettest::DieAfterReading(s, static_cast<int64_t>(content.size() / 2));
        s.ReceiveToFile(target);
      }));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()), 1);
  EXPECT_EQ(nettest::ReadFile(target), "old");
}

TEST(Socket, StreamsAndFilesWithPositionsAndCounts) {
  std::string arrived;
  {
    LoopbackPeer peer([&](int fd) {
      arrived = nettest::ReadExactly(fd, 5 + 10 + 4);
      nettest::SendAll(fd, "0123456789abcdef");
    });
    TestSocket s;
    s.connectTo(peer.port());
    std::istringstream source("0123456789");
    EXPECT_EQ(s.SendStream(s.Handle, source, 3, 5), 5);  // bytes 3..7
    s.SendStream(s.Handle, source, 0, -1);               // the whole stream
    std::string file = testing::TempDir() + "/send_file.txt";
    { std::ofstream(file) << "file"; }
    s.SendFile(file);
    s.SendFile(file + ".missing");  // nothing to send, no error
    std::filesystem::remove(file);

    std::ostringstream sink("xxxx");
    s.ReceiveToStreamFrom(s.Handle, sink, 2, 6);  // six bytes written from position 2 on
    EXPECT_EQ(sink.str(), "xx012345");
    std::string rest;
    s.ReadString(rest, -1);
    EXPECT_EQ(rest, "6789abcdef");
  }
  EXPECT_EQ(arrived, "345670123456789file");
}

TEST(Socket, AddressTexts) {
  TestSocket s;
  struct PortText {
    uint16_t port;
    const char* text;
  };
  for (PortText p : {PortText{21, "0,21"}, PortText{8080, "31,144"}, PortText{1025, "4,1"}}) {
    s.Port = p.port;
    EXPECT_EQ(s.GetPortText(), p.text);
  }
  EXPECT_EQ(s.SocketState(net::kNoSocket), 0);
  LoopbackPeer peer([&](int) {});
  s.connectTo(peer.port());
  EXPECT_EQ(s.SocketState(s.Handle), 2);
  EXPECT_EQ(s.GetLocalAddressText(), "127,0,0,1,");
  int unconnected = ::socket(AF_INET, SOCK_STREAM, 0);
  EXPECT_EQ(s.SocketState(unconnected), 1);
  ::close(unconnected);
}

TEST(Socket, BindInRangePicksAFreePort) {
  TestSocket s;
  net::TSocket handle = s.CreateSocket();
  uint16_t chosen = 0;
  s.BindInRange(handle, 40000, chosen, 1000);
  EXPECT_GE(chosen, 40000);
  EXPECT_LT(chosen, 41000);
  // Every port of a one-port range taken: the listen fails.
  net::TSocket second = s.CreateSocket();
  uint16_t unused = 0;
  EXPECT_THROW(s.BindInRange(second, chosen, unused, 1), net::EBindError);
  s.CloseSocketHandle(handle);
  s.CloseSocketHandle(second);
}

}  // namespace
