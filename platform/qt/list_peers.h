// Registers the peers of the combo box, the group box, the radio group, the progress bar and the
// splitter with the peer factory (with the standard peers, when the host starts).
#pragma once

namespace qtfw {

void RegisterListPeers();

}  // namespace qtfw
