// Registers the peers of tool bars and tool buttons, cool bars, up-down controls and spin edits
// with the peer factory (with the standard peers, when the host starts).
#pragma once

namespace qtfw {

void RegisterToolPeers();

}  // namespace qtfw
