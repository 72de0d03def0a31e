// brs has no windows: the GUI class names are registered with a class that refuses to be made and
// tells the script's user to run the script with brsw.
#pragma once

namespace brs {

// Adds the registration of the refusing GUI classes to every new script component.
void InstallNoWindowClasses();

// The message a script that makes a window gets.
extern const char kNoWindowsMessage[];

}  // namespace brs
