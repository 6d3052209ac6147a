#pragma once
// The name registries: singly linked lists of entries, newest first, searched from the head. An
// entry lives as long as the show; instructions hold entries, never objects, and read the entry's
// object each time they run, so a name resolved at compile time can be filled by a loading
// instruction that runs later.

#include <cstddef>
#include <cstring>
#include <memory>
#include <vector>

namespace demo {

inline constexpr size_t NameCapacity = 32;  // 31 characters and the NUL

template <class T>
struct NameEntry {
  char name[NameCapacity] = {};
  T object{};  // null (or 0) until an instruction creates the object
  NameEntry* next = nullptr;
};

template <class T>
class NameList {
 public:
  NameList() = default;
  NameList(const NameList&) = delete;
  NameList& operator=(const NameList&) = delete;

  // The first entry, from the head, whose name equals the given one byte for byte.
  NameEntry<T>* findName(const char* name) const {
    for (NameEntry<T>* entry = head_; entry; entry = entry->next)
      if (std::strcmp(entry->name, name) == 0) return entry;
    return nullptr;
  }

  // A new entry with a null object at the head. The compiler refuses names that do not fit before
  // it gets here; a longer name would be cut, never written past the array.
  NameEntry<T>* declareName(const char* name) {
    auto entry = std::make_unique<NameEntry<T>>();
    std::strncpy(entry->name, name, NameCapacity - 1);
    entry->next = head_;
    head_ = entry.get();
    entries_.push_back(std::move(entry));
    return head_;
  }

  NameEntry<T>* head() const { return head_; }
  size_t size() const { return entries_.size(); }

 private:
  NameEntry<T>* head_ = nullptr;
  std::vector<std::unique_ptr<NameEntry<T>>> entries_;
};

}  // namespace demo
