// The standard library's part in every engine: the standard classes the engine registers when it
// is built, in their order, and the making of its Global object. Programs that run scripts call
// Install() once before they make a script component.
#pragma once

namespace stdlib {

void Install();

}  // namespace stdlib
