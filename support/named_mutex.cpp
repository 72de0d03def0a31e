#include "support/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <map>
#include <mutex>
#include <thread>

#include "support/crc.h"

namespace support {

namespace detail {

// One per name and process: the in-process owner and the lock file that holds other processes off.
struct NamedMutexState {
  std::mutex m;
  std::condition_variable released;
  bool busy = false;  // some thread holds the mutex or is acquiring the lock file
  std::thread::id owner;
  int count = 0;      // recursion depth of the holder
  int lockFd = -1;    // -1 for a private mutex
  int users = 0;      // TMutex objects of this name in this process
  bool broken = false;  // the lock file could not be opened
};

}  // namespace detail

namespace {

using State = detail::NamedMutexState;
using Clock = std::chrono::steady_clock;

std::mutex registryLock;
std::map<std::string, std::shared_ptr<State>>& registry() {
  static auto* r = new std::map<std::string, std::shared_ptr<State>>;
  return *r;
}

bool makePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
         (st.st_mode & 077) == 0;
}

// A file name for the mutex name: letters, digits, "-" and "_" stay, other bytes become %XX; a
// long name is shortened and told apart by its CRC.
std::string fileNameOf(const std::string& name) {
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_') {
      out += char(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  if (out.size() > 180) {
    uint16_t c16;
    uint32_t c32;
    CalcStrCrc(c16, c32, name);
    std::string tail;
    for (int shift = 28; shift >= 0; shift -= 4) tail += hex[(c32 >> shift) & 15];
    out = out.substr(0, 160) + "~" + tail;
  }
  return out;
}

int openFile(const std::string& path) { return ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600); }

int flockRetry(int fd, int op) {
  int r;
  do r = ::flock(fd, op);
  while (r != 0 && errno == EINTR);
  return r;
}

}  // namespace

std::string MutexLockFolder() {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime) {
    std::string dir = std::string(runtime) + "/brscript-mutex";
    if (makePrivateFolder(dir)) return dir;
  }
  std::string dir = "/tmp/brscript-mutex-" + std::to_string(::getuid());
  return makePrivateFolder(dir) ? dir : std::string();
}

TMutex::TMutex(const std::string& name) : name_(name) {
  if (name.empty()) {
    state_ = std::make_shared<State>();
    state_->users = 1;
    return;
  }
  std::string folder = MutexLockFolder();
  std::string base = folder.empty() ? std::string() : folder + "/" + fileNameOf(name);

  // Existence: every object holds a shared lock on the presence file. Whoever finds no one else
  // there (its exclusive try succeeds) made the mutex. The gate keeps two makers from meeting
  // in the moment between the exclusive and the shared lock.
  if (!base.empty()) {
    int gate = openFile(folder + "/.gate");
    presenceFd_ = openFile(base + ".presence");
    if (gate >= 0 && presenceFd_ >= 0 && flockRetry(gate, LOCK_EX) == 0) {
      if (::flock(presenceFd_, LOCK_EX | LOCK_NB) == 0)
        existed_ = false;
      else
        existed_ = true;
      flockRetry(presenceFd_, LOCK_SH);
      flockRetry(gate, LOCK_UN);
    }
    if (gate >= 0) ::close(gate);
  }

  std::lock_guard<std::mutex> g(registryLock);
  auto& slot = registry()[name];
  if (!slot) {
    slot = std::make_shared<State>();
    slot->lockFd = base.empty() ? -1 : openFile(base + ".lock");
    slot->broken = slot->lockFd < 0;
  }
  ++slot->users;
  state_ = slot;
}

TMutex::~TMutex() {
  bool last;
  {
    std::lock_guard<std::mutex> g(registryLock);
    std::lock_guard<std::mutex> s(state_->m);
    last = --state_->users == 0;
    if (last && !name_.empty()) registry().erase(name_);
  }
  // The last object of the name in this process takes the mutex with it, held or not.
  if (last && state_->lockFd >= 0) ::close(state_->lockFd);
  if (presenceFd_ >= 0) ::close(presenceFd_);
}

bool TMutex::Lock() { return acquire(INFINITE); }

bool TMutex::TryLock() { return acquire(Timeout); }

bool TMutex::acquire(uint32_t timeoutMs) {
  State& s = *state_;
  const auto self = std::this_thread::get_id();
  const bool forever = timeoutMs == INFINITE;
  const auto deadline = Clock::now() + std::chrono::milliseconds(forever ? 0 : timeoutMs);

  std::unique_lock<std::mutex> lock(s.m);
  if (s.broken) return false;
  if (s.busy && s.owner == self && s.count > 0) {
    ++s.count;
    return true;
  }
  auto free = [&] { return !s.busy; };
  if (forever)
    s.released.wait(lock, free);
  else if (!s.released.wait_until(lock, deadline, free))
    return false;
  s.busy = true;
  s.owner = self;
  s.count = 0;
  lock.unlock();

  // Other threads of this process now wait on the owner table; other processes on the lock file.
  bool got = true;
  if (s.lockFd >= 0) {
    if (forever) {
      got = flockRetry(s.lockFd, LOCK_EX) == 0;
    } else {
      auto pause = std::chrono::milliseconds(1);
      for (;;) {
        if (::flock(s.lockFd, LOCK_EX | LOCK_NB) == 0) break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
          got = false;
          break;
        }
        auto now = Clock::now();
        if (now >= deadline) {
          got = false;
          break;
        }
        std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
        if (pause < std::chrono::milliseconds(20)) pause *= 2;
      }
    }
  }

  lock.lock();
  if (got) {
    s.count = 1;
  } else {
    s.busy = false;
    s.owner = {};
    s.released.notify_all();
  }
  return got;
}

bool TMutex::Unlock() {
  State& s = *state_;
  std::lock_guard<std::mutex> lock(s.m);
  if (!s.busy || s.owner != std::this_thread::get_id() || s.count == 0) return false;
  if (--s.count == 0) {
    if (s.lockFd >= 0) flockRetry(s.lockFd, LOCK_UN);
    s.busy = false;
    s.owner = {};
    s.released.notify_all();
  }
  return true;
}

}  // namespace support
