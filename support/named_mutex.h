// A named mutex shared between processes, with the ownership rules of a system mutex: the thread
// that holds it may lock it again (each lock needs its unlock), and only the holder can unlock.
//
// Across processes the lock is an flock(2) lock on a lock file named after the mutex, in
// $XDG_RUNTIME_DIR/brscript-mutex or, failing that, /tmp/brscript-mutex-<uid>. Within a process
// one owner table per name decides which thread holds it, so several TMutex objects of one name in
// one process share one mutex. The named mutex exists as long as some TMutex object of that name is
// alive in some process; `Existed` tells whether it did before this object was made. A process that
// ends releases whatever it held. An empty name makes a private mutex of this object alone.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace support {

namespace detail {
struct NamedMutexState;
}

class TMutex {
 public:
  static constexpr uint32_t INFINITE = 0xFFFFFFFF;

  // Opens the named mutex, or creates it (not held) when it does not exist.
  explicit TMutex(const std::string& name);
  // Closes this object; a mutex held by the calling thread stays held while other objects of its
  // name remain in this process.
  ~TMutex();
  TMutex(const TMutex&) = delete;
  TMutex& operator=(const TMutex&) = delete;

  const std::string& Name() const { return name_; }
  bool Existed() const { return existed_; }
  // Milliseconds TryLock waits; INFINITE waits without limit.
  uint32_t Timeout = 10000;

  // Waits without limit. False only when the mutex could not be made at all.
  bool Lock();
  // Waits up to Timeout milliseconds; true when the calling thread now holds the mutex.
  bool TryLock();
  // False when the calling thread does not hold the mutex.
  bool Unlock();

 private:
  bool acquire(uint32_t timeoutMs);

  std::string name_;
  bool existed_ = false;
  int presenceFd_ = -1;  // shared flock held while this object lives
  std::shared_ptr<detail::NamedMutexState> state_;
};

// The folder of the lock files ("" when none can be made).
std::string MutexLockFolder();

}  // namespace support
