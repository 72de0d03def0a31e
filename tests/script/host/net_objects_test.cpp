// Host objects of the internet family seen from C++: what a TCPSocket may adopt, the events of an
// accepted connection, and HtmlParser's file reading.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <fcntl.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "script/host/base_socket_object.h"
#include "script/host/html_objects.h"
#include "script/host/tcp_socket_object.h"
#include "tests/net/http_servers.h"
#include "tests/net/loopback_peer.h"
#include "tests/script/host/host_fixture.h"

namespace fs = std::filesystem;
using namespace hosttest;

namespace {

bool IsOpen(int fd) { return fcntl(fd, F_GETFD) != -1; }

TEST(TCPSocketObject, AdoptsOnlyConnectionsItsOwnAcceptHandedOut) {
  HostEngine e;
  // Sockets, files and pipes of somebody else stay theirs and stay open.
  int stream = socket(AF_INET, SOCK_STREAM, 0);
  int datagram = socket(AF_INET, SOCK_DGRAM, 0);
  int pipes[2];
  ASSERT_EQ(pipe(pipes), 0);
  for (int fd : {stream, datagram, pipes[0], 0, 1, -1, 99999}) {
    EXPECT_EQ(ErrorOf([&] { e.New("TCPSocket", {I(fd)}); }), "ESocketError:TCPSocket.create error") << fd;
    if (fd > 2 && fd != 99999) {
      EXPECT_TRUE(IsOpen(fd)) << fd;
    }
  }
  for (int fd : {stream, datagram, pipes[0], pipes[1]}) close(fd);

  // An accepted connection belongs to the object accept made, and to no other.
  uint16_t port = nettest::UnusedPort();
  TJValue server = e.New("TCPSocket");
  Put(server, "port", I(port));
  Call(server, "bind");
  TJValue client = e.New("TCPSocket");
  Put(client, "host", S("127.0.0.1"));
  Put(client, "port", I(port));
  Call(client, "connect");
  TJValue conn = Call(server, "accept");
  ASSERT_TRUE(IsObject(&conn));
  EXPECT_TRUE(Call(conn, "isConnected").vBool());
  auto* socket = dynamic_cast<host::TJTCPSocketObject*>(conn.vObject());
  ASSERT_NE(socket, nullptr);
  int handle = socket->Socket().Handle;
  EXPECT_EQ(ErrorOf([&] { e.New("TCPSocket", {I(handle)}); }), "ESocketError:TCPSocket.create error");
  EXPECT_TRUE(IsOpen(handle));
  Call(client, "writeln", {S("ping")});
  EXPECT_EQ(Text(Call(conn, "readln")), "ping");
}

// A socket that never connected has nothing to read: each way of reading raises its own error,
// and "onError" hears of it. Capturing leaves the file alone.
TEST(TCPSocketObject, ReadingWithoutAConnectionRaises) {
  HostEngine e;
  std::string folder = nettest::MakeFolder();
  std::string file = folder + "/capture.txt";
  nettest::WriteFile(file, "old");
  TJValue s = e.New("TCPSocket");
  int errors = 0;
  e.handlers["error"] = [&](TJValueList*, TJValue&) { ++errors; };
  Put(s, "onError", S("error"));
  EXPECT_EQ(ErrorOf([&] { Call(s, "readln"); }), "ESocketError:TCPSocket.readln error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "read"); }), "ESocketError:TCPSocket.read error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "read", {I(5)}); }), "ESocketError:TCPSocket.read error");
  EXPECT_EQ(ErrorOf([&] { Call(s, "capture", {S(file)}); }), "ESocketError:TCPSocket.capture error");
  EXPECT_EQ(errors, 4);
  EXPECT_EQ(nettest::ReadFile(file), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

// The bytes a socket receives land in the block that becomes the script's text: sized once when
// the length is announced, grown geometrically otherwise, handed over without a copy.
TEST(ScriptTextReceiver, FillsTheTextsOwnBlock) {
  host::TScriptTextReceiver announced;
  announced.Expect(100000);
  char* first = announced.Room(65536);
  std::memset(first, 'a', 65536);
  announced.Grew(65536);
  char* second = announced.Room(34464);  // a reader asks for no more than is announced
  EXPECT_EQ(second, first + 65536);      // no move: the room was made for the whole length at once
  std::memset(second, 'b', 34464);
  announced.Grew(34464);
  TJValue text;
  announced.TakeInto(text);
  ASSERT_EQ(text.vString().size(), 100000u);
  EXPECT_EQ(static_cast<const void*>(text.vString().data()), static_cast<const void*>(first));
  EXPECT_EQ(text.vString().substr(65530, 12), "aaaaaabbbbbb");
  EXPECT_EQ(text.vString().data()[100000], '\0');

  // Unannounced, the block grows and keeps what it holds; a read that got nothing adds nothing.
  host::TScriptTextReceiver growing;
  std::string expected;
  for (int i = 0; i < 40; ++i) {
    char* room = growing.Room(65536);
    std::string chunk(size_t(1000 + i), char('A' + i % 26));
    std::memcpy(room, chunk.data(), chunk.size());
    growing.Grew(chunk.size());
    growing.Room(65536);
    growing.Grew(0);
    expected += chunk;
  }
  TJValue grown;
  growing.TakeInto(grown);
  EXPECT_EQ(grown.vString(), expected);

  // Nothing received is the empty text.
  host::TScriptTextReceiver none;
  none.Room(10);
  none.Grew(0);
  TJValue empty = S("old");
  none.TakeInto(empty);
  EXPECT_EQ(empty.ValueType(), vtString);
  EXPECT_EQ(empty.vString(), "");
}

TEST(TCPSocketObject, AbortFromAHandlerIsNoSocketError) {
  HostEngine e;
  uint16_t port = nettest::UnusedPort();
  TJValue server = e.New("TCPSocket");
  Put(server, "port", I(port));
  Call(server, "bind");
  TJValue client = e.New("TCPSocket");
  Put(client, "host", S("127.0.0.1"));
  Put(client, "port", I(port));
  Call(client, "connect");
  e.handlers["stop"] = [](TJValueList*, TJValue&) { throw EJAbort(); };
  Put(client, "onWrite", S("stop"));
  EXPECT_THROW(Call(client, "writeln", {S("x")}), EJAbort);
  // The object is usable afterwards.
  Put(client, "onWrite", TJValue());
  Call(client, "writeln", {S("y")});
}

TEST(HtmlParserObject, ParseFileReadsLinesAndLeavesAMissingFileAlone) {
  HostEngine e;
  std::string pattern = (fs::temp_directory_path() / "html-obj-XXXXXX").string();
  std::string folder = mkdtemp(pattern.data());
  std::string file = folder + "/page.html";
  std::ofstream(file, std::ios::binary) << "<p>one\n<a href=x>two</a>\rthree";
  TJValue p = e.New("HtmlParser", {S("<b>")});
  Call(p, "parseFile", {S(folder + "/missing.html")});
  EXPECT_EQ(Text(Get(p, "html")), "<b>");
  EXPECT_EQ(Get(p, "count").vInteger(), 1);
  Call(p, "parseFile", {S(file)});
  EXPECT_EQ(Text(Get(p, "html")), "<p>one\r\n<a href=x>two</a>\r\nthree\r\n");
  EXPECT_EQ(Get(p, "count").vInteger(), 3);
  EXPECT_EQ(Text(Get(p, "text")), "one\r\ntwo\r\nthree\r\n");
  TJValue tag = Index(p, "1");
  EXPECT_EQ(Text(Index(tag, "href")), "x");
  fs::remove_all(folder);
}

}  // namespace
