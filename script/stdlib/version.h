// The engine's name and version, as scripts and the hosts' --version report them.
#pragma once

namespace stdlib {

inline constexpr const char kScriptEngineName[] = "BRScript";
inline constexpr const char kScriptEngineVersion[] = "0.3.9";

}  // namespace stdlib
