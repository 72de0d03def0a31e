// Event types of the framework: the typed method pointers that components keep in their fields,
// the type descriptions that the property table uses to tell them apart, and the enumerations
// their parameters use.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fw/object.h"
#include "platform/fw/types.h"
#include "platform/rt/exception.h"
#include "platform/rt/method.h"

namespace fw {

class TControl;
class TWinControl;

FW_ENUM(TMouseButton, mbLeft, mbRight, mbMiddle)
FW_ENUM(TShiftStateElement, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
FW_SET(TShiftState, TShiftStateElement)
FW_ENUM(TDragState, dsDragEnter, dsDragLeave, dsDragMove)
FW_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)
FW_ENUM(TProgressStage, psStarting, psRunning, psEnding)
FW_ENUM(TOwnerDrawStateElement, odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault, odHotLight,
        odInactive, odNoAccel, odNoFocusRect, odReserved1, odReserved2, odComboBoxEdit)
FW_SET(TOwnerDrawState, TOwnerDrawStateElement)

// A key message as the short-cut event sees it.
struct TWMKey {
  uint16_t CharCode = 0;
  int32_t KeyData = 0;
};

using TNotifyEvent = rt::Event<void(TObject* Sender)>;
using TMouseEvent = rt::Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y)>;
using TMouseMoveEvent = rt::Event<void(TObject* Sender, TShiftState Shift, int32_t X, int32_t Y)>;
using TKeyEvent = rt::Event<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
using TKeyPressEvent = rt::Event<void(TObject* Sender, char& Key)>;
using TCloseEvent = rt::Event<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = rt::Event<void(TObject* Sender, bool& CanClose)>;
using TIdleEvent = rt::Event<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = rt::Event<void(TObject* Sender, const rt::Exception& E)>;
using TDragOverEvent =
    rt::Event<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept)>;
using TDragDropEvent = rt::Event<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y)>;
using TEndDragEvent = rt::Event<void(TObject* Sender, TObject* Target, int32_t X, int32_t Y)>;
using TStartDragEvent = rt::Event<void(TObject* Sender, TObject*& DragObject)>;
using TStartDockEvent = rt::Event<void(TObject* Sender, TObject*& DragObject)>;
using TUnDockEvent = rt::Event<void(TObject* Sender, TControl* Client, TWinControl* NewTarget, bool& Allow)>;
using TGetSiteInfoEvent =
    rt::Event<void(TObject* Sender, TControl* DockClient, TRect& InfluenceRect, TPoint MousePos, bool& CanDock)>;
using TDockDropEvent = rt::Event<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y)>;
using TDockOverEvent =
    rt::Event<void(TObject* Sender, TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept)>;
using TCanResizeEvent = rt::Event<void(TObject* Sender, int32_t& NewWidth, int32_t& NewHeight, bool& Resize)>;
using TConstrainedResizeEvent =
    rt::Event<void(TObject* Sender, int32_t& MinWidth, int32_t& MinHeight, int32_t& MaxWidth, int32_t& MaxHeight)>;
using TContextPopupEvent = rt::Event<void(TObject* Sender, TPoint MousePos, bool& Handled)>;
using TMouseWheelEvent =
    rt::Event<void(TObject* Sender, TShiftState Shift, int32_t WheelDelta, TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent = rt::Event<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using THelpEvent = rt::Event<bool(uint16_t Command, int32_t Data, bool& CallHelp)>;
using TShortCutEvent = rt::Event<void(TWMKey& Msg, bool& Handled)>;
using TProgressEvent = rt::Event<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                      const TRect& R, const std::string& Msg)>;
using TDrawItemEvent =
    rt::Event<void(TWinControl* Control, int32_t Index, TRect Rect, TOwnerDrawState State)>;
using TMeasureItemEvent = rt::Event<void(TWinControl* Control, int32_t Index, int32_t& Height)>;
using TLBGetDataEvent = rt::Event<void(TWinControl* Control, int32_t Index, std::string& Data)>;
using TLBFindDataEvent = rt::Event<int32_t(TWinControl* Control, const std::string& FindString)>;
using TLBGetDataObjectEvent = rt::Event<void(TWinControl* Control, int32_t Index, TObject*& DataObject)>;

// Type descriptions, one per event type (the property table tells event types apart by them).
const rt::MethodType& NotifyEventType();
const rt::MethodType& MouseEventType();
const rt::MethodType& MouseMoveEventType();
const rt::MethodType& KeyEventType();
const rt::MethodType& KeyPressEventType();
const rt::MethodType& CloseEventType();
const rt::MethodType& CloseQueryEventType();
const rt::MethodType& IdleEventType();
const rt::MethodType& ExceptionEventType();
const rt::MethodType& DragOverEventType();
const rt::MethodType& DragDropEventType();
const rt::MethodType& EndDragEventType();
const rt::MethodType& StartDragEventType();
const rt::MethodType& StartDockEventType();
const rt::MethodType& UnDockEventType();
const rt::MethodType& GetSiteInfoEventType();
const rt::MethodType& DockDropEventType();
const rt::MethodType& DockOverEventType();
const rt::MethodType& CanResizeEventType();
const rt::MethodType& ConstrainedResizeEventType();
const rt::MethodType& ContextPopupEventType();
const rt::MethodType& MouseWheelEventType();
const rt::MethodType& MouseWheelUpDownEventType();
const rt::MethodType& HelpEventType();
const rt::MethodType& ShortCutEventType();
const rt::MethodType& ProgressEventType();
const rt::MethodType& DrawItemEventType();
const rt::MethodType& MeasureItemEventType();
const rt::MethodType& LBGetDataEventType();
const rt::MethodType& LBFindDataEventType();
const rt::MethodType& LBGetDataObjectEventType();

}  // namespace fw
