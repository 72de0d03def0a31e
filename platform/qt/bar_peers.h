// Registers the peers of the bar-shaped controls (the tab control) with the peer factory (with
// the standard peers, when the host starts).
#pragma once

namespace qtfw {

void RegisterBarPeers();

}  // namespace qtfw
