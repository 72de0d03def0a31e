// What list views and tree views tell their custom-draw handlers: the stage of the paint and the
// state of the item being drawn. Shared by both families.
#pragma once

#include "platform/fw/object.h"

namespace fw {

FW_ENUM(TCustomDrawTarget, dtControl, dtItem, dtSubItem)
FW_ENUM(TCustomDrawStage, cdPrePaint, cdPostPaint, cdPreErase, cdPostErase)
FW_ENUM(TCustomDrawStateElement, cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot,
        cdsMarked, cdsIndeterminate)
FW_SET(TCustomDrawState, TCustomDrawStateElement)

}  // namespace fw
