// Registers the framework's streamable classes with the class registry, so that form descriptions
// can name them. Hosts call it once at start-up; calling it again does nothing.
#pragma once

namespace fw {

void RegisterFrameworkClasses();

}  // namespace fw
