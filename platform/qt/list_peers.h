// Registers the peers of the combo box, the group box and the radio group with the peer factory
// (with the standard peers, when the host starts).
#pragma once

namespace qtfw {

void RegisterListPeers();

}  // namespace qtfw
