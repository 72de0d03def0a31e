// A set of pointers kept sorted by address, without duplicates.
#pragma once

#include <cstdint>
#include <vector>

namespace support {

class TBinList {
 public:
  TBinList() = default;
  // Clears through this class's operations; a subclass that overrides FreeItem or Clear calls
  // Clear in its own destructor.
  virtual ~TBinList();
  TBinList(const TBinList&) = delete;
  TBinList& operator=(const TBinList&) = delete;

  // Inserts the item at its place unless it is there already.
  void Add(void* item);
  // The item's former index, or -1; the item passes through FreeItem.
  int Remove(void* item);
  int IndexOf(const void* item) const;
  // Index of the item, or -1 with `insertAt` telling where it belongs.
  int Find(const void* item, int& insertAt) const;
  void* GetItem(int index) const;
  int Count() const { return static_cast<int>(items_.size()); }
  // Takes the item out of the set, then passes it through FreeItem.
  void Delete(int index);
  // Deletes every item, from the last to the first.
  virtual void Clear();

 protected:
  // Called for every item leaving the set, after it has left. Does nothing here.
  virtual void FreeItem(void* item);

 private:
  std::vector<void*> items_;
};

}  // namespace support
