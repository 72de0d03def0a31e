// The stages and item states that custom-draw events of the item views (tree and list views)
// report.
#pragma once

#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TCustomDrawStage, cdPrePaint, cdPostPaint, cdPreErase, cdPostErase)
FW_ENUM(TCustomDrawStateElement, cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot,
        cdsMarked, cdsIndeterminate)
FW_SET(TCustomDrawState, TCustomDrawStateElement)

}  // namespace fw
