// Method pointers: a code address and a data address, as event properties hold them. `Event<Sig>`
// is the typed form a class keeps in its fields; `Method` is the untyped pair that the property
// table reads and writes and that script values carry.
#pragma once

#include <utility>

namespace rt {

struct Method {
  using Code = void (*)();
  Code code = nullptr;
  void* data = nullptr;

  bool empty() const { return code == nullptr; }
  explicit operator bool() const { return code != nullptr; }
  friend bool operator==(const Method& a, const Method& b) { return a.code == b.code && a.data == b.data; }
};

template <class Sig>
class Event;

// A bound handler of signature R(A...): a thunk that receives the data pointer first.
template <class R, class... A>
class Event<R(A...)> {
 public:
  using Thunk = R (*)(void*, A...);

  Event() = default;
  Event(Thunk thunk, void* data) : thunk_(thunk), data_(data) {}

  // Binds a member function: Event<void(int)>::bind<&Form::onTick>(form).
  template <auto Member, class C>
  static Event bind(C* object) {
    return Event(
        [](void* self, A... args) -> R { return (static_cast<C*>(self)->*Member)(std::forward<A>(args)...); },
        object);
  }

  explicit operator bool() const { return thunk_ != nullptr; }
  bool empty() const { return thunk_ == nullptr; }
  R operator()(A... args) const { return thunk_(data_, std::forward<A>(args)...); }
  void* data() const { return data_; }

  Method toMethod() const { return Method{reinterpret_cast<Method::Code>(thunk_), data_}; }
  static Event fromMethod(const Method& m) { return Event(reinterpret_cast<Thunk>(m.code), m.data); }

  friend bool operator==(const Event& a, const Event& b) { return a.thunk_ == b.thunk_ && a.data_ == b.data_; }

 private:
  Thunk thunk_ = nullptr;
  void* data_ = nullptr;
};

}  // namespace rt
