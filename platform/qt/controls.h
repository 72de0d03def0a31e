// Registers the peers of the first-tier controls with the peer factory (the host does it).
#pragma once

namespace qtfw {

void RegisterStandardPeers();

}  // namespace qtfw
