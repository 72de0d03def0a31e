// The one way a script's text becomes the name of a file or folder that the file system is given.
//
// Names go to the system as the script wrote them (UTF-8 bytes, "/" between folders). The system
// reads a name only up to a NUL byte, so a text holding one would reach a file the script never
// named ("keep" for "keep\0x"): such a text is refused, before anything is touched, with the
// script error of the object that was asked.
#pragma once

#include <string>

namespace host {

// `text` itself, or the script error `errorType` with `message` when the file system cannot be
// given it.
const std::string& SystemPath(const std::string& text, const char* errorType, const std::string& message);

}  // namespace host
