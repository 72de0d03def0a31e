// The list view's peer: a scroll area that paints the items where the model lays them out (only
// those in sight, so a list of any length or an owner-data list costs no more than a screenful),
// the column header in report style, and an editor over the label while a caption is edited.
// Clicks, keys and header clicks go to the model, which decides what changes.
#pragma once

namespace qtfw {

void RegisterListViewPeer();

}  // namespace qtfw
