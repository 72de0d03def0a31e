// Listing lines of FTP servers into entries, and the replies that open a data connection.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <string>

#include "net/ftp_listing.h"
#include "net/ftp_reply.h"

namespace {

using support::TDateTime;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0) {
  return support::EncodeDate(y, mo, d) + support::EncodeTime(h, mi, 0, 0);
}

// 1 June 2024, noon: the moment the listings below are read at.
const TDateTime kNow = At(2024, 6, 1, 12, 0);

struct Case {
  const char* line;
  bool entry;
  uint8_t type;
  int64_t size;
  const char* name;
  TDateTime modified;
  int mode;
};

class ListLine : public testing::TestWithParam<Case> {};

TEST_P(ListLine, GivesItsEntry) {
  const Case& c = GetParam();
  net::TFTPFileProperty p;
  ASSERT_EQ(net::ParseListLine(c.line, p, kNow), c.entry) << c.line;
  if (!c.entry) return;
  EXPECT_EQ(p.FileType, c.type);
  EXPECT_EQ(p.Size, c.size);
  EXPECT_EQ(p.Name, c.name);
  if (c.modified != 0) EXPECT_DOUBLE_EQ(p.Modified, c.modified) << c.line;
  EXPECT_EQ(net::PermissionToNumber(p), c.mode);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ListLine,
    testing::Values(
        Case{"-rw-r--r--   1 user  group   1234 Jan  5 12:34 a.txt", true, net::kFtpFile, 1234, "a.txt",
             At(2024, 1, 5, 12, 34), 644},
        // later in the year than now: last year's
        Case{"-rw-r--r--   1 user  group   1234 Dec  5 12:34 a.txt", true, net::kFtpFile, 1234, "a.txt",
             At(2023, 12, 5, 12, 34), 644},
        Case{"drwxr-xr-x   2 user  group   512 Dec 31  2001 pub", true, net::kFtpDirectory, 512, "pub",
             At(2001, 12, 31), 755},
        Case{"total 12", false, 0, 0, "", 0, 0},
        Case{"readme", true, net::kFtpFile, 0, "readme", 0, 0},
        // numeric owners (vsftpd), no group column, blanks in names, links, big sizes
        Case{"-rw-------    1 1000     1000     5000000000 Feb 29  2020 big.iso", true, net::kFtpFile, 5000000000,
             "big.iso", At(2020, 2, 29), 600},
        Case{"-rwxr-x---   1 owner 77 Mar  1 08:00 run.sh", true, net::kFtpFile, 77, "run.sh", At(2024, 3, 1, 8), 750},
        Case{"-rw-r--r--   1 u  g   10 May 20 10:00 my file.txt", true, net::kFtpFile, 10, "my file.txt",
             At(2024, 5, 20, 10), 644},
        Case{"lrwxrwxrwx   1 u  g    7 May 20 10:00 latest -> v1.2", true, net::kFtpLink, 7, "latest", 0, 777},
        Case{"drwxrwxrwt   2 u  g  4096 May 20 10:00 tmp", true, net::kFtpDirectory, 4096, "tmp", 0, 777},
        // Unix-looking lines that are no entries
        Case{"srwxr-xr-x   1 u  g    0 May 20 10:00 sock", false, 0, 0, "", 0, 0},
        Case{"-rw-r--r--   1 u  g  size May 20 10:00 x", false, 0, 0, "", 0, 0},
        Case{"-rw-r--r--   1 u  g   10 Foo 20 10:00 x", false, 0, 0, "", 0, 0},
        Case{"-rw-r--r--   1 u  g   10 May 40 10:00 x", false, 0, 0, "", 0, 0},
        Case{"drwx 2", false, 0, 0, "", 0, 0},
        // DOS forms
        Case{"01-05-24  12:34PM       <DIR>          pub", true, net::kFtpDirectory, 0, "pub", At(2024, 1, 5, 12, 34), 0},
        Case{"01-05-24  09:07AM              1,234 read me.txt", true, net::kFtpFile, 1234, "read me.txt",
             At(2024, 1, 5, 9, 7), 0},
        Case{"12-24-2023  11:59PM                 3 x.bin", true, net::kFtpFile, 3, "x.bin", At(2023, 12, 24, 23, 59),
             0},
        Case{"07-01-24  01:00PM                 3 next.bin", true, net::kFtpFile, 3, "next.bin", At(2023, 7, 1, 13), 0},
        Case{"01-05-24  12:34PM   lots  x", false, 0, 0, "", 0, 0},
        Case{"9 lives", false, 0, 0, "", 0, 0},
        Case{"?garbage here", false, 0, 0, "", 0, 0}));

TEST(ListLine, OldDosLayoutsUnderTheDosParser) {
  net::TFTPFileProperty p;
  ASSERT_TRUE(net::ParseDosLine("README 1,024 01-05-24 12:34PM", p, kNow));
  EXPECT_EQ(p.Name, "README");
  EXPECT_EQ(p.Size, 1024);
  EXPECT_DOUBLE_EQ(p.Modified, At(2024, 1, 5, 12, 34));
  ASSERT_TRUE(net::ParseDosLine("AUTOEXEC BAT 512 01-05-24 08:00AM", p, kNow));
  EXPECT_EQ(p.Name, "AUTOEXEC.BAT");
  EXPECT_EQ(p.Size, 512);
  EXPECT_EQ(p.FileType, net::kFtpFile);
  ASSERT_TRUE(net::ParseDosLine("GAMES <DIR> 01-05-24 08:00AM", p, kNow));
  EXPECT_EQ(p.Name, "GAMES");
  EXPECT_EQ(p.FileType, net::kFtpDirectory);
  EXPECT_FALSE(net::ParseDosLine("just words here", p, kNow));
}

TEST(DirectoryList, ModesIndexAndCopies) {
  net::TFTPDirectoryList list;
  EXPECT_TRUE(list.Add("-rw-r--r--   1 u  g   10 May 20 10:00 a.txt"));
  EXPECT_FALSE(list.Add("total 3"));
  EXPECT_TRUE(list.Add("01-05-24  12:34PM       <DIR>          pub"));
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.GetItem(0).Line, "-rw-r--r--   1 u  g   10 May 20 10:00 a.txt");
  EXPECT_TRUE(list.HasName("a.txt"));
  EXPECT_TRUE(list.HasName("pub"));
  EXPECT_FALSE(list.HasName("A.TXT"));

  list.ListMode = 1;  // Unix only
  EXPECT_FALSE(list.Add("01-05-24  12:34PM       <DIR>          other"));
  list.ListMode = 2;  // DOS only
  EXPECT_FALSE(list.Add("-rw-r--r--   1 u  g   10 May 20 10:00 b.txt"));

  net::TFTPDirectoryList copy;
  copy.Assign(list);
  list.Delete(0);
  EXPECT_FALSE(list.HasName("a.txt"));
  EXPECT_TRUE(list.HasName("pub"));
  EXPECT_TRUE(copy.HasName("a.txt"));
  EXPECT_EQ(copy.ListMode, 2);
  copy.Clear();
  EXPECT_EQ(copy.Count(), 0);
  EXPECT_FALSE(copy.HasName("pub"));
}

TEST(DataReply, PassiveNumbersAreCheckedOneByOne) {
  uint32_t address = 0;
  uint16_t port = 0;
  ASSERT_TRUE(net::ParsePasvReply("Entering Passive Mode (10,0,0,1,4,1)", address, port));
  EXPECT_EQ(address, htonl(0x0A000001));
  EXPECT_EQ(port, 1025);
  ASSERT_TRUE(net::ParsePasvReply("=( 127, 0, 0, 1, 200, 10 ).", address, port));
  EXPECT_EQ(port, 200 * 256 + 10);
  for (const char* bad : {"Entering Passive Mode 10,0,0,1,4,1", "(10,0,0,1,4)", "(10,0,0,1,4,1,7)",
                          "(10,0,0,256,4,1)", "(10,0,0,1,-4,1)", "(10,0,0,1,0,0)", "(10,0,0,1,4,1", "(,,,,,)",
                          "(10,0,0,1,4,1x)", "(999999999999,0,0,1,4,1)"}) {
    EXPECT_FALSE(net::ParsePasvReply(bad, address, port)) << bad;
  }
}

TEST(DataReply, ExtendedPassivePort) {
  uint16_t port = 0;
  ASSERT_TRUE(net::ParseEpsvReply("Entering Extended Passive Mode (|||6446|)", port));
  EXPECT_EQ(port, 6446);
  ASSERT_TRUE(net::ParseEpsvReply("ok (!!!21!)", port));
  EXPECT_EQ(port, 21);
  for (const char* bad : {"(|||0|)", "(|||65536|)", "(||6446|)", "(|||6446)", "(1112)", "no parens", "(|||x|)",
                          "(|||6446|"}) {
    EXPECT_FALSE(net::ParseEpsvReply(bad, port)) << bad;
  }
}

}  // namespace
