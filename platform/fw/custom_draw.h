// The stages and item states that custom-draw events of the item views (tree and list views)
// report, and the sort switch both views have.
#pragma once

#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TCustomDrawStage, cdPrePaint, cdPostPaint, cdPreErase, cdPostErase)
FW_ENUM(TCustomDrawStateElement, cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot,
        cdsMarked, cdsIndeterminate)
FW_SET(TCustomDrawState, TCustomDrawStateElement)
FW_ENUM(TSortType, stNone, stData, stText, stBoth)

}  // namespace fw
