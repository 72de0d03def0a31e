// Registers the peers of the radio button, the list box and the check list box with the peer
// factory (with the standard peers, when the host starts).
#pragma once

namespace qtfw {

void RegisterChoicePeers();

}  // namespace qtfw
