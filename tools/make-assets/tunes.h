// The eight tunes of the game, written out as Standard MIDI Files that loop seamlessly.
#pragma once

#include <string>

#include "tools/make-assets/smf.h"

namespace assets {

// The tune for a file name ("giss.mid", "giss_old.mid", "run.mid", "op.mid", "noiz.mid", "nagi.mid",
// "night.MID", "cl.MID").
Song makeTune(const std::string& fileName);

}  // namespace assets
