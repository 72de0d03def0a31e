// Mail messages: the text Build writes, what Parse takes out of received messages, where and
// under which names attachments land, and the addresses SMTP is given.
#include "net/mail_message.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "net/errors.h"
#include "net/mail_clients.h"
#include "support/base64.h"

namespace fs = std::filesystem;

namespace {

using net::TMailMessage;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::string& data) { std::ofstream(path, std::ios::binary) << data; }

// A fresh folder of its own for each test.
struct Folder {
  Folder() {
    std::string pattern = (fs::temp_directory_path() / "mail-msg-XXXXXX").string();
    path = mkdtemp(pattern.data());
  }
  ~Folder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(path)) names.push_back(fs::relative(e.path(), path).string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string path;
};

bool IsMailDate(const std::string& line) {
  // "Date: Wed, 09 Dec 2026 16:04:59 GMT"
  return line.size() == 35 && line.rfind("Date: ", 0) == 0 && line.substr(line.size() - 4) == " GMT" &&
         line[9] == ',' && line[25] == ':' && line[28] == ':';
}

TEST(MailBuild, SinglePartMessage) {
  TMailMessage m;
  m.Headers.Put("Subject", "hello");
  m.Headers.Put("From", "a@example.com");
  m.Body = "line one\r\nline two";
  std::string raw;
  m.Build(raw);
  ASSERT_EQ(m.HeaderLines.size(), 7u);
  // The fields in the table's order, then the lines that describe the body.
  EXPECT_EQ(m.HeaderLines[0], "From: a@example.com");
  EXPECT_EQ(m.HeaderLines[1], "Subject: hello");
  EXPECT_EQ(m.HeaderLines[2], "Content-Type: text/plain; charset=\"iso-2022-jp\"");
  EXPECT_TRUE(IsMailDate(m.HeaderLines[3])) << m.HeaderLines[3];
  EXPECT_EQ(m.HeaderLines[4], "MIME-Version: 1.0");
  EXPECT_EQ(m.HeaderLines[5], "Content-Transfer-Encoding: 7bit");
  EXPECT_EQ(m.HeaderLines[6], "");
  EXPECT_EQ(raw, m.HeaderText() + "line one\r\nline two\r\n");
}

// The text of a Date line for a moment, written the way mail wants it: in GMT.
std::string GmtDateLine(time_t moment) {
  tm parts{};
  gmtime_r(&moment, &parts);
  char text[64];
  strftime(text, sizeof text, "Date: %a, %d %b %Y %H:%M:%S GMT", &parts);
  return text;
}

TEST(MailBuild, DateIsTheMomentInGmtWhateverTheLocalZone) {
  const char* old = getenv("TZ");
  std::string saved = old ? old : "";
  for (const char* zone : {"Asia/Tokyo", "America/New_York", "UTC"}) {
    setenv("TZ", zone, 1);
    tzset();
    TMailMessage m;
    std::string raw;
    time_t before = time(nullptr);
    m.Build(raw);
    time_t after = time(nullptr);
    EXPECT_TRUE(m.HeaderLines[1] == GmtDateLine(before) || m.HeaderLines[1] == GmtDateLine(after))
        << zone << ": " << m.HeaderLines[1];
  }
  if (old) setenv("TZ", saved.c_str(), 1); else unsetenv("TZ");
  tzset();
}

TEST(MailBuild, HeaderTextCannotBreakItsLine) {
  TMailMessage m;
  m.Headers.Put("Subject", "hi\r\nBcc: victim@example.com");
  m.Headers.Put("Date", "Thu, 01 Jan 2026 00:00:00 GMT");
  m.Headers.Put("Content-Type", "text/html");
  std::string raw;
  m.Build(raw);
  EXPECT_EQ(raw.find("\r\nBcc:"), std::string::npos);
  EXPECT_NE(raw.find("Subject: hi  Bcc: victim@example.com\r\n"), std::string::npos);
  // The caller's date stands alone; the body's own description replaces the caller's.
  EXPECT_NE(raw.find("Date: Thu, 01 Jan 2026 00:00:00 GMT\r\n"), std::string::npos);
  EXPECT_EQ(raw.find("Date: ", raw.find("Date: ") + 1), std::string::npos);
  EXPECT_EQ(raw.find("text/html"), std::string::npos);

  TMailMessage bad;
  bad.Headers.Put("X-Evil\r\nRCPT TO", "x");
  EXPECT_THROW(bad.Build(raw), net::ELocalError);
}

TEST(MailBuild, AttachmentsAreWrappedBase64Parts) {
  Folder folder;
  std::string data;
  for (int i = 0; i < 3000; ++i) data += static_cast<char>(i * 7);
  std::string file = folder.path + "/report.bin";
  WriteAll(file, data);

  TMailMessage m;
  m.Headers.Put("To", "b@example.com");
  m.Body = "see the file";
  m.Attachments.push_back(file);
  std::string raw;
  m.Build(raw);
  EXPECT_EQ(m.Boundary.size(), 42u);
  EXPECT_EQ(m.HeaderLines[1], "Content-Type: multipart/mixed; boundary=\"" + m.Boundary + "\"");
  std::vector<std::string> expectedStart = {"--" + m.Boundary,
                                            "Content-Type: text/plain",
                                            "",
                                            "see the file",
                                            "--" + m.Boundary,
                                            "Content-Type: application/octet-stream; name=\"report.bin\"",
                                            "Content-Disposition: filename=\"report.bin\"",
                                            "Content-Transfer-Encoding: Base64",
                                            ""};
  ASSERT_GT(m.BodyLines.size(), expectedStart.size() + 1);
  EXPECT_EQ(std::vector<std::string>(m.BodyLines.begin(), m.BodyLines.begin() + 9), expectedStart);
  EXPECT_EQ(m.BodyLines.back(), "--" + m.Boundary + "--");
  std::string encoded;
  for (size_t i = 9; i + 1 < m.BodyLines.size(); ++i) {
    EXPECT_LE(m.BodyLines[i].size(), 76u);
    encoded += m.BodyLines[i];
  }
  EXPECT_EQ(m.BodyLines[9].size(), 76u);
  EXPECT_EQ(support::DecodeBase64(encoded), data);

  // What was built parses back to the same text and file.
  Folder received;
  TMailMessage back;
  back.AttachFolder = received.path;
  back.Parse(raw);
  EXPECT_EQ(back.Body, "\r\nsee the file\r\n");
  ASSERT_EQ(back.Attachments.size(), 1u);
  EXPECT_EQ(back.Attachments[0], received.path + "/report.bin");
  EXPECT_EQ(ReadAll(back.Attachments[0]), data);

  m.Attachments.push_back(folder.path + "/missing.bin");
  EXPECT_THROW(m.Build(raw), net::ELocalError);
}

// Only a regular file is attached: a pipe with nobody writing, a device that never ends, a folder
// or a name cut short by a NUL is refused at once instead of waiting or filling the memory.
TEST(MailBuild, AttachmentsThatAreNoRegularFilesAreRefused) {
  Folder folder;
  std::string pipe = folder.path + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  WriteAll(folder.path + "/keep", "kept");
  const std::string cut = folder.path + "/keep" + std::string(1, '\0') + "x";
  for (const std::string& name : {pipe, std::string("/dev/zero"), folder.path, cut}) {
    TMailMessage m;
    m.Headers.Put("To", "b@example.com");
    m.Attachments.push_back(name);
    std::string raw;
    EXPECT_THROW(m.Build(raw), net::ELocalError) << name;
  }
}

std::string Multipart(const std::string& boundaryParameter, const std::vector<std::string>& parts,
                      const std::string& boundary = "XyZ") {
  std::string raw = "From: a@example.com\r\nContent-Type: multipart/mixed; " + boundaryParameter +
                    "\r\nSubject: files\r\n\r\npreamble\r\n";
  for (const std::string& p : parts) raw += "--" + boundary + "\r\n" + p;
  raw += "--" + boundary + "--\r\nepilogue\r\n";
  return raw;
}

std::string Base64Part(const std::string& headers, const std::string& data) {
  return headers + "Content-Transfer-Encoding: base64\r\n\r\n" + support::EncodeBase64(data) + "\r\n";
}

TEST(MailParse, TextAndAttachmentParts) {
  Folder folder;
  TMailMessage m;
  m.AttachFolder = folder.path;
  m.Parse(Multipart("boundary=\"XyZ\"",
                    {"Content-Type: text/plain; charset=iso-2022-jp\r\n\r\nhello\r\n",
                     Base64Part("Content-Type: application/pdf\r\nContent-Disposition: attachment; filename=\"report.pdf\"\r\n",
                                "%PDF-1.4 data"),
                     "Content-Type: application/octet-stream; name=\"q.txt\"\r\nContent-Transfer-Encoding: "
                     "quoted-printable\r\n\r\nq=3Dp\r\n",
                     "\r\nno header at all\r\n"}));
  EXPECT_EQ(m.Boundary, "XyZ");
  EXPECT_EQ(m.GetHeader("SUBJECT"), "files");
  EXPECT_EQ(m.HeaderLines.size(), 3u);
  // Text parts keep their blank line in front; the quoted-printable part is dropped; a part without
  // a type is text.
  EXPECT_EQ(m.Body, "\r\nhello\r\n\r\nno header at all\r\n");
  ASSERT_EQ(m.Attachments.size(), 1u);
  EXPECT_EQ(m.Attachments[0], folder.path + "/report.pdf");
  EXPECT_EQ(ReadAll(m.Attachments[0]), "%PDF-1.4 data");
  EXPECT_EQ(folder.Files(), std::vector<std::string>{"report.pdf"});
}

TEST(MailParse, NamelessAttachmentGoesToATemporaryFile) {
  TMailMessage m;
  m.Parse(Multipart("boundary=\"XyZ\"", {Base64Part("Content-Type: application/octet-stream\r\n", "raw bytes")}));
  ASSERT_EQ(m.Attachments.size(), 1u);
  EXPECT_EQ(fs::path(m.Attachments[0]).filename().string().rfind("gpop3", 0), 0u);
  EXPECT_EQ(ReadAll(m.Attachments[0]), "raw bytes");
  fs::remove(m.Attachments[0]);
}

TEST(MailParse, AttachmentNamesStayInTheirFolder) {
  Folder root;
  std::string folder = root.path + "/in";
  fs::create_directories(folder);
  WriteAll(folder + "/keep.txt", "mine");
  std::vector<std::string> parts;
  for (const char* name : {"../escape.txt", "/etc/passwd-copy", "a/b\\c.txt", "...", ".hidden", "keep.txt",
                           "keep.txt", "tab\tname.txt"})
    parts.push_back(Base64Part(std::string("Content-Type: text/x; name=\"") + name + "\"\r\n", name));
  TMailMessage m;
  m.AttachFolder = folder;
  m.Parse(Multipart("boundary=XyZ", parts));
  ASSERT_EQ(m.Attachments.size(), parts.size());
  std::vector<std::string> names;
  for (const std::string& path : m.Attachments) {
    EXPECT_EQ(fs::path(path).parent_path().string() == folder, names.size() != 3) << path;
    names.push_back(fs::path(path).filename().string());
  }
  EXPECT_EQ(names[0], "escape.txt");
  EXPECT_EQ(names[1], "passwd-copy");
  EXPECT_EQ(names[2], "c.txt");
  // "..." leaves no name: a temporary file of its own, like a part without a name.
  EXPECT_EQ(names[3].rfind("gpop3", 0), 0u);
  EXPECT_EQ(ReadAll(m.Attachments[3]), "...");
  fs::remove(m.Attachments[3]);
  EXPECT_EQ(names[4], "hidden");
  EXPECT_EQ(names[5], "keep_000.txt");
  EXPECT_EQ(names[6], "keep_001.txt");
  EXPECT_EQ(names[7], "tabname.txt");
  EXPECT_EQ(ReadAll(folder + "/keep.txt"), "mine");
  EXPECT_EQ(ReadAll(folder + "/keep_001.txt"), "keep.txt");
  EXPECT_FALSE(fs::exists(root.path + "/escape.txt"));
}

// Many attachments of one name are all kept: the numbers go on past 999.
TEST(MailParse, EveryAttachmentOfOneNameIsKept) {
  Folder folder;
  std::vector<std::string> parts;
  for (int i = 0; i < 1200; ++i)
    parts.push_back(Base64Part("Content-Type: text/x; name=\"report.txt\"\r\n", "copy " + std::to_string(i)));
  TMailMessage m;
  m.AttachFolder = folder.path;
  m.Parse(Multipart("boundary=XyZ", parts));
  ASSERT_EQ(m.Attachments.size(), 1200u);
  EXPECT_EQ(folder.Files().size(), 1200u);
  EXPECT_EQ(m.Attachments[0], folder.path + "/report.txt");
  EXPECT_EQ(m.Attachments[1], folder.path + "/report_000.txt");
  EXPECT_EQ(m.Attachments[1000], folder.path + "/report_999.txt");
  EXPECT_EQ(m.Attachments[1001], folder.path + "/report_1000.txt");
  EXPECT_EQ(m.Attachments[1199], folder.path + "/report_1198.txt");
  EXPECT_EQ(ReadAll(m.Attachments[1199]), "copy 1199");
  EXPECT_EQ(ReadAll(m.Attachments[1000]), "copy 1000");
}

// A name too long for a file is shortened, its extension kept; its numbered forms fit too.
TEST(MailParse, OverlongNamesAreShortenedKeepingTheExtension) {
  Folder folder;
  std::string longName = std::string(4996, 'n') + ".pdf";
  std::string wide;
  while (wide.size() < 5000) wide += "\xe5\xa0\xb1";  // a three-byte character, over and over
  std::vector<std::string> parts;
  for (const std::string& name : {longName, longName, wide + ".txt", std::string(5000, 'x'),
                                  "a." + std::string(5000, 'e')})
    parts.push_back(Base64Part("Content-Type: text/x; name=\"" + name + "\"\r\n", "data"));
  TMailMessage m;
  m.AttachFolder = folder.path;
  m.Parse(Multipart("boundary=XyZ", parts));
  ASSERT_EQ(m.Attachments.size(), parts.size());
  std::vector<std::string> names;
  for (const std::string& path : m.Attachments) {
    std::string name = fs::path(path).filename().string();
    EXPECT_LE(name.size(), 255u);
    EXPECT_GE(name.size(), 200u);
    EXPECT_EQ(ReadAll(path), "data");
    names.push_back(name);
  }
  EXPECT_EQ(names[0], std::string(names[0].size() - 4, 'n') + ".pdf");
  EXPECT_EQ(names[1], names[0].substr(0, names[0].size() - 4) + "_000.pdf");
  EXPECT_EQ(names[2].substr(names[2].size() - 4), ".txt");
  EXPECT_EQ((names[2].size() - 4) % 3, 0u);  // no character cut in two
  EXPECT_EQ(names[3], std::string(names[3].size(), 'x'));
  EXPECT_EQ(names[4].substr(0, 2), "a.");  // an extension that long is shortened with the rest
  EXPECT_EQ(folder.Files().size(), parts.size());
}

// An attachment that cannot be saved is never dropped in silence: the parse raises after reading
// the rest, and what could be saved is listed.
TEST(MailParse, AttachmentThatCannotBeSavedIsAnError) {
  Folder folder;
  TMailMessage m;
  m.AttachFolder = folder.path + "/missing";
  std::string raw = Multipart("boundary=XyZ", {"Content-Type: text/plain\r\n\r\nthe text\r\n",
                                               Base64Part("Content-Type: text/x; name=\"a.txt\"\r\n", "a")});
  try {
    m.Parse(raw);
    ADD_FAILURE() << "an attachment that could not be written was dropped without a word";
  } catch (const net::ELocalError& e) {
    EXPECT_NE(std::string(e.what()).find("a.txt"), std::string::npos) << e.what();
  }
  EXPECT_EQ(m.Body, "\r\nthe text\r\n");
  EXPECT_TRUE(m.Attachments.empty());
  EXPECT_TRUE(folder.Files().empty());
}

TEST(MailParse, HeadersAndUnusualShapes) {
  TMailMessage m;
  // Folded fields are joined; a line without ":" is no field; the last of two fields wins.
  m.Parse("Subject: =?ISO-2022-JP?B?GyRCJUYbKEI=?=\r\n =?ISO-2022-JP?B?GyRCJTkbKEI=?=\r\nnot a field\r\n"
          "X-A: 1\r\nx-a: 2\n\nbody\nmore");
  EXPECT_EQ(m.GetHeader("subject"), "=?ISO-2022-JP?B?GyRCJUYbKEI=?= =?ISO-2022-JP?B?GyRCJTkbKEI=?=");
  EXPECT_EQ(m.GetHeader("X-A"), "2");
  EXPECT_EQ(m.Headers.Count(), 2u);
  EXPECT_EQ(m.Body, "body\r\nmore\r\n");

  // No empty line: fields when it starts like a field, else all body.
  m.Parse("From: a@b\r\nSubject: s");
  EXPECT_EQ(m.GetHeader("Subject"), "s");
  EXPECT_EQ(m.Body, "");
  m.Parse("just some text\r\nand more");
  EXPECT_EQ(m.Headers.Count(), 0u);
  EXPECT_EQ(m.Body, "just some text\r\nand more\r\n");

  // A multipart message without a boundary is taken as plain text.
  m.Parse("Content-Type: multipart/mixed\r\n\r\n--a\r\nx\r\n");
  EXPECT_EQ(m.Body, "--a\r\nx\r\n");

  // A nested multipart part gives its text part.
  m.Parse(Multipart("boundary=\"XyZ\"", {"Content-Type: multipart/alternative; boundary=inner\r\n\r\n--inner\r\n"
                                         "Content-Type: text/plain\r\n\r\nplain\r\n--inner\r\n"
                                         "Content-Type: text/html\r\n\r\n<p>x</p>\r\n--inner--\r\n"}));
  EXPECT_EQ(m.Body, "\r\nplain\r\n");

  // Parse keeps the attachment folder, Clear does not.
  m.AttachFolder = "/somewhere";
  m.Parse("A: b\r\n\r\n");
  EXPECT_EQ(m.AttachFolder, "/somewhere");
  std::string before = m.Boundary;
  m.Clear();
  EXPECT_EQ(m.AttachFolder, "");
  EXPECT_NE(m.Boundary, before);
}

TEST(MailMessage, AssignCopiesEverything) {
  TMailMessage a;
  a.Parse("Subject: s\r\nTo: t@x\r\n\r\nbody\r\n");
  a.Number = 4;
  a.Attachments.push_back("/tmp/f");
  TMailMessage b;
  b.Headers.Put("Old", "gone");
  b.Assign(a);
  EXPECT_EQ(b.Headers.KeyList(), a.Headers.KeyList());
  EXPECT_EQ(b.GetHeader("To"), "t@x");
  EXPECT_EQ(b.Number, 4);
  EXPECT_EQ(b.Body, a.Body);
  EXPECT_EQ(b.HeaderLines, a.HeaderLines);
  EXPECT_EQ(b.Attachments, a.Attachments);
  EXPECT_EQ(b.Boundary, a.Boundary);
}

TEST(MailAddresses, DisplayNamesAndListsAreTakenApart) {
  using V = std::vector<std::string>;
  EXPECT_EQ(net::MailAddresses("a@example.com"), V{"a@example.com"});
  EXPECT_EQ(net::MailAddresses("Taro Yamada <taro@example.jp>"), V{"taro@example.jp"});
  EXPECT_EQ(net::MailAddresses("\"Doe, John\" <j@x.org>, b@y.org (Bob), <c@z>"), (V{"j@x.org", "b@y.org", "c@z"}));
  EXPECT_EQ(net::MailAddresses(" , "), V{});
  EXPECT_THROW(net::MailAddresses("a@b>\r\nRSET"), net::ELocalError);
  EXPECT_THROW(net::MailAddresses("a@b\nDATA"), net::ELocalError);
}

}  // namespace
