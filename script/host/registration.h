// The registration routines of the host-object families. Each takes an engine and registers its
// script constructor names with the engine's factory, in a fixed order; a script component calls
// them right after it has made its engine, in the order declared here, and the GUI bridge's
// routine last. A family whose classes are not built registers nothing.
#pragma once

namespace engine {
class TJBaseEngine;
}

namespace host {

// Files and system objects: "File", "Directory", "Strings", "Win32", "Ini", "CRC", "Base64",
// "Dialog", "Mutex", "Keyboard", "Mouse", "Clipboard", "RegIni", "StringBuffer".
void RegisterHostObjects(engine::TJBaseEngine& engine);
// Internet objects: "URL", "Cookie", "HTTP".
void RegisterNetObjects(engine::TJBaseEngine& engine);
// COM automation objects.
void RegisterActiveXObjects(engine::TJBaseEngine& engine);
// DLL calls and structures.
void RegisterDynaCallObjects(engine::TJBaseEngine& engine);
// The check-list dialog.
void RegisterGUIObjects(engine::TJBaseEngine& engine);

}  // namespace host
