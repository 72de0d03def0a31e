#include "platform/fw/events.h"

namespace fw {

namespace {
using P = rt::MethodParam;
const P Sender{"Sender", "TObject", false};
}  // namespace

#define FW_METHOD_TYPE(Fn, Name, ...)             \
  const rt::MethodType& Fn() {                    \
    static const rt::MethodType type{Name, {__VA_ARGS__}}; \
    return type;                                  \
  }

FW_METHOD_TYPE(NotifyEventType, "TNotifyEvent", Sender)
FW_METHOD_TYPE(MouseEventType, "TMouseEvent", Sender, P{"Button", "TMouseButton"}, P{"Shift", "TShiftState"},
               P{"X", "Integer"}, P{"Y", "Integer"})
FW_METHOD_TYPE(MouseMoveEventType, "TMouseMoveEvent", Sender, P{"Shift", "TShiftState"}, P{"X", "Integer"},
               P{"Y", "Integer"})
FW_METHOD_TYPE(KeyEventType, "TKeyEvent", Sender, P{"Key", "Word", true}, P{"Shift", "TShiftState"})
FW_METHOD_TYPE(KeyPressEventType, "TKeyPressEvent", Sender, P{"Key", "Char", true})
FW_METHOD_TYPE(CloseEventType, "TCloseEvent", Sender, P{"Action", "TCloseAction", true})
FW_METHOD_TYPE(CloseQueryEventType, "TCloseQueryEvent", Sender, P{"CanClose", "Boolean", true})
FW_METHOD_TYPE(IdleEventType, "TIdleEvent", Sender, P{"Done", "Boolean", true})
FW_METHOD_TYPE(ExceptionEventType, "TExceptionEvent", Sender, P{"E", "Exception"})
FW_METHOD_TYPE(DragOverEventType, "TDragOverEvent", Sender, P{"Source", "TObject"}, P{"X", "Integer"},
               P{"Y", "Integer"}, P{"State", "TDragState"}, P{"Accept", "Boolean", true})
FW_METHOD_TYPE(DragDropEventType, "TDragDropEvent", Sender, P{"Source", "TObject"}, P{"X", "Integer"},
               P{"Y", "Integer"})
FW_METHOD_TYPE(EndDragEventType, "TEndDragEvent", Sender, P{"Target", "TObject"}, P{"X", "Integer"},
               P{"Y", "Integer"})
FW_METHOD_TYPE(StartDragEventType, "TStartDragEvent", Sender, P{"DragObject", "TDragObject", true})
FW_METHOD_TYPE(StartDockEventType, "TStartDockEvent", Sender, P{"DragObject", "TDragDockObject", true})
FW_METHOD_TYPE(UnDockEventType, "TUnDockEvent", Sender, P{"Client", "TControl"}, P{"NewTarget", "TWinControl"},
               P{"Allow", "Boolean", true})
FW_METHOD_TYPE(GetSiteInfoEventType, "TGetSiteInfoEvent", Sender, P{"DockClient", "TControl"},
               P{"InfluenceRect", "TRect", true}, P{"MousePos", "TPoint"}, P{"CanDock", "Boolean", true})
FW_METHOD_TYPE(DockDropEventType, "TDockDropEvent", Sender, P{"Source", "TDragDockObject"}, P{"X", "Integer"},
               P{"Y", "Integer"})
FW_METHOD_TYPE(DockOverEventType, "TDockOverEvent", Sender, P{"Source", "TDragDockObject"}, P{"X", "Integer"},
               P{"Y", "Integer"}, P{"State", "TDragState"}, P{"Accept", "Boolean", true})
FW_METHOD_TYPE(CanResizeEventType, "TCanResizeEvent", Sender, P{"NewWidth", "Integer", true},
               P{"NewHeight", "Integer", true}, P{"Resize", "Boolean", true})
FW_METHOD_TYPE(ConstrainedResizeEventType, "TConstrainedResizeEvent", Sender, P{"MinWidth", "Integer", true},
               P{"MinHeight", "Integer", true}, P{"MaxWidth", "Integer", true}, P{"MaxHeight", "Integer", true})
FW_METHOD_TYPE(ContextPopupEventType, "TContextPopupEvent", Sender, P{"MousePos", "TPoint"},
               P{"Handled", "Boolean", true})
FW_METHOD_TYPE(MouseWheelEventType, "TMouseWheelEvent", Sender, P{"Shift", "TShiftState"},
               P{"WheelDelta", "Integer"}, P{"MousePos", "TPoint"}, P{"Handled", "Boolean", true})
FW_METHOD_TYPE(MouseWheelUpDownEventType, "TMouseWheelUpDownEvent", Sender, P{"Shift", "TShiftState"},
               P{"MousePos", "TPoint"}, P{"Handled", "Boolean", true})
FW_METHOD_TYPE(HelpEventType, "THelpEvent", P{"Command", "Word"}, P{"Data", "Longint"},
               P{"CallHelp", "Boolean", true})
FW_METHOD_TYPE(ShortCutEventType, "TShortCutEvent", P{"Msg", "TWMKey", true}, P{"Handled", "Boolean", true})
FW_METHOD_TYPE(ProgressEventType, "TProgressEvent", Sender, P{"Stage", "TProgressStage"},
               P{"PercentDone", "Byte"}, P{"RedrawNow", "Boolean"}, P{"R", "TRect"}, P{"Msg", "string"})
FW_METHOD_TYPE(DrawItemEventType, "TDrawItemEvent", P{"Control", "TWinControl"}, P{"Index", "Integer"},
               P{"Rect", "TRect"}, P{"State", "TOwnerDrawState"})
FW_METHOD_TYPE(MeasureItemEventType, "TMeasureItemEvent", P{"Control", "TWinControl"}, P{"Index", "Integer"},
               P{"Height", "Integer", true})
FW_METHOD_TYPE(LBGetDataEventType, "TLBGetDataEvent", P{"Control", "TWinControl"}, P{"Index", "Integer"},
               P{"Data", "string", true})
FW_METHOD_TYPE(LBFindDataEventType, "TLBFindDataEvent", P{"Control", "TWinControl"},
               P{"FindString", "string"})
FW_METHOD_TYPE(LBGetDataObjectEventType, "TLBGetDataObjectEvent", P{"Control", "TWinControl"},
               P{"Index", "Integer"}, P{"DataObject", "TObject", true})

#undef FW_METHOD_TYPE

}  // namespace fw
