// The GUI classes' part in every engine: the script constructors ("VCLForm", "VCLButton", ...),
// the framework classes form descriptions may name, and the caster behind class-typed properties.
// Windowed hosts call Install() once, after the host objects' Install.
#pragma once

namespace engine {
class TJBaseEngine;
}

namespace gui {

// Registers the script constructors of the classes that are built, in the order of
// kVCLClassNames.
void RegisterVCLObjects(engine::TJBaseEngine& engine);
// Registers the framework classes of the GUI families with the class registry (once).
void RegisterVCLStreamClasses();
// Both of the above for every new script component, and the caster for published properties.
void Install();

}  // namespace gui
