#include "mail_servers.h"

#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "http_servers.h"
#include "loopback_peer.h"

namespace fs = std::filesystem;

namespace nettest {

namespace {

constexpr int kStartLimitMs = 10000;

struct Account {
  std::string user, group;
  uid_t uid;
  gid_t gid;
};

// Who dovecot's own processes and the mail user run as: the running user, or "nobody" when that
// is root (dovecot refuses root for both).
Account MailAccount() {
  uid_t uid = geteuid();
  if (uid == 0) {
    passwd* pw = getpwnam("nobody");
    if (!pw) throw std::runtime_error("no user nobody for dovecot");
    group* gr = getgrgid(pw->pw_gid);
    return {"nobody", gr ? gr->gr_name : "nogroup", pw->pw_uid, pw->pw_gid};
  }
  passwd* pw = getpwuid(uid);
  group* gr = getgrgid(getegid());
  if (!pw || !gr) throw std::runtime_error("cannot name the running user for dovecot");
  return {pw->pw_name, gr->gr_name, uid, getegid()};
}

void ChownTree(const std::string& root, const Account& account) {
  if (geteuid() != 0) return;
  if (chown(root.c_str(), account.uid, account.gid) != 0) throw std::runtime_error("cannot chown " + root);
  for (const auto& entry : fs::recursive_directory_iterator(root))
    if (chown(entry.path().c_str(), account.uid, account.gid) != 0)
      throw std::runtime_error("cannot chown " + entry.path().string());
}

// Waits until `name` appears in `folder` (written and closed, or moved there) or the process ends.
void WaitForFile(const std::string& folder, const std::string& name, int pid, const std::string& what,
                 const std::string& logPath) {
  int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
  inotify_add_watch(watch, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
  for (;;) {
    if (fs::exists(fs::path(folder) / name)) break;
    if (waitpid(pid, nullptr, WNOHANG) == pid) {
      close(watch);
      throw std::runtime_error(what + " exited at start: " + ReadFile(logPath));
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      close(watch);
      throw std::runtime_error(what + " did not start within 10 s: " + ReadFile(logPath));
    }
    pollfd p{watch, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(std::min<int64_t>(left.count(), 200))) == 1) {
      alignas(inotify_event) char events[4096];
      while (read(watch, events, sizeof events) > 0) {
      }
    }
  }
  close(watch);
}

uint16_t StartDovecot(const std::string& folder, const std::string& home, const Account& account) {
  RequireProgram("/usr/sbin/dovecot", "dovecot-pop3d");
  std::string base = folder + "/dovecot";
  fs::create_directories(base + "/run");
  fs::create_directories(base + "/state");
  WriteFile(base + "/passwd", "user:{PLAIN}secret\n");
  uint16_t port = UnusedPort();
  std::string conf =
      "base_dir = " + base + "/run\n"
      "state_dir = " + base + "/state\n"
      "log_path = " + base + "/dovecot.log\n"
      "protocols = pop3\n"
      "listen = 127.0.0.1\n"
      "ssl = no\n"
      "disable_plaintext_auth = no\n"
      "auth_mechanisms = plain\n"
      "auth_failure_delay = 0\n"
      "login_trusted_networks = 127.0.0.0/8\n"
      "first_valid_uid = " + std::to_string(account.uid) + "\n"
      "first_valid_gid = " + std::to_string(account.gid) + "\n"
      "default_internal_user = " + account.user + "\n"
      "default_internal_group = " + account.group + "\n"
      "default_login_user = " + account.user + "\n"
      "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN username_format=%u " + base + "/passwd\n}\n"
      "userdb {\n  driver = static\n  args = uid=" + account.user + " gid=" + account.group + " home=" + home + "\n}\n"
      "mail_location = maildir:~/Maildir\n"
      "service pop3-login {\n  chroot =\n  inet_listener pop3 {\n    address = 127.0.0.1\n    port = " +
      std::to_string(port) + "\n  }\n}\n"
      "service anvil {\n  chroot =\n}\n"
      "service imap-login {\n  chroot =\n}\n";
  WriteFile(base + "/dovecot.conf", conf);
  int pid = Spawn({"/usr/sbin/dovecot", "-F", "-c", base + "/dovecot.conf"}, -1, base + "/stderr.log");
  WaitForFile(base + "/run", "master.pid", pid, "dovecot", base + "/dovecot.log");
  return port;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

void MailServers::AddMessage(const std::string& name, const std::string& content) const {
  std::string tmp = maildir + "/tmp/" + name;
  WriteFile(tmp, content);
  chmod(tmp.c_str(), 0644);
  fs::rename(tmp, maildir + "/new/" + name);
}

std::vector<ReceivedMail> MailServers::Received() const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(record))
    if (entry.path().extension() == ".env") names.push_back(entry.path().stem().string());
  std::sort(names.begin(), names.end());
  std::vector<ReceivedMail> mails;
  for (const std::string& name : names) {
    ReceivedMail mail;
    std::vector<std::string> envelope = Lines(ReadFile(record + "/" + name + ".env"));
    if (!envelope.empty()) {
      mail.mailFrom = envelope[0];
      mail.rcptTo.assign(envelope.begin() + 1, envelope.end());
    }
    mail.content = ReadFile(record + "/" + name + ".eml");
    mails.push_back(std::move(mail));
  }
  return mails;
}

std::vector<std::string> MailServers::Stored() const {
  std::vector<std::string> names;
  for (const char* sub : {"/new", "/cur"})
    for (const auto& entry : fs::directory_iterator(maildir + sub)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

MailServers& MailServers::Get() {
  static std::unique_ptr<MailServers> servers;
  static std::string failure;
  if (servers) return *servers;
  if (!failure.empty()) throw std::runtime_error(failure);
  try {
    auto s = std::make_unique<MailServers>();
    s->folder = MakeFolder();
    chmod(s->folder.c_str(), 0755);  // dovecot's unprivileged processes find their sockets here
    Account account = MailAccount();
    std::string home = s->folder + "/home";
    s->maildir = home + "/Maildir";
    for (const char* sub : {"/cur", "/new", "/tmp"}) fs::create_directories(s->maildir + sub);
    ChownTree(home, account);
    s->record = s->folder + "/smtp";
    fs::create_directories(s->record);
    s->pop3Port = StartDovecot(s->folder, home, account);
    s->smtpPort = StartPythonServer(std::string(NET_TEST_FOLDER) + "/smtp_server.py", {s->record, s->maildir}, s->folder);
    servers = std::move(s);
    return *servers;
  } catch (const std::exception& e) {
    failure = e.what();
    throw;
  }
}

}  // namespace nettest
