// Named methods of a class, as form descriptions name event handlers ("OnClick = Button1Click").
// A form class registers its handlers once; the reader binds a name to the form being read, and
// the writer writes a handler only when it is one of the root's named methods.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/rt/method.h"
#include "platform/rt/typeinfo.h"

namespace fw {

void RegisterMethod(const rt::ClassInfo& cls, std::string name, rt::Method::Code code);
// The code of `name` in `cls` or one of its bases (case-insensitive); null when absent.
rt::Method::Code FindMethodCode(const rt::ClassInfo& cls, std::string_view name);
// The name under which `code` is registered for `cls` or a base; empty when it is none.
std::string FindMethodName(const rt::ClassInfo& cls, rt::Method::Code code);

namespace method_detail {
template <class T>
struct MemberTraits;
template <class R, class C, class... A>
struct MemberTraits<R (C::*)(A...)> {
  using Class = C;
  using Event = rt::Event<R(A...)>;
};
}  // namespace method_detail

// The code address of a member function as an event of the matching signature binds it:
// RegisterMethod(TForm1::StaticClassInfo(), "Button1Click", MethodCode<&TForm1::Button1Click>()).
template <auto Member>
rt::Method::Code MethodCode() {
  using Traits = method_detail::MemberTraits<decltype(Member)>;
  return Traits::Event::template bind<Member, typename Traits::Class>(nullptr).toMethod().code;
}

}  // namespace fw
