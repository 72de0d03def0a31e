// The natives of the Global object, by source file. global.cpp registers them in one fixed order.
#pragma once

#include "script/core/value.h"
#include "script/core/value_list.h"
#include "script/stdlib/global.h"

namespace stdlib {

#define BR_GLOBAL_NATIVE(name) void name(TJGlobalObject& self, engine::TJValueList* args, engine::TJValue& result)

// global_io.cpp: output, input, ending the run, the engine's version.
BR_GLOBAL_NATIVE(DoPrint);
BR_GLOBAL_NATIVE(DoPrintln);
BR_GLOBAL_NATIVE(DoRead);
BR_GLOBAL_NATIVE(DoReadln);
BR_GLOBAL_NATIVE(DoExit);
BR_GLOBAL_NATIVE(DoScriptEngine);
BR_GLOBAL_NATIVE(DoBuildVersion);
BR_GLOBAL_NATIVE(DoMajorVersion);
BR_GLOBAL_NATIVE(DoMinorVersion);
BR_GLOBAL_NATIVE(DoVersion);

// global_convert.cpp: escaping, evaluation, number tests and conversions, value tests.
BR_GLOBAL_NATIVE(DoEscape);
BR_GLOBAL_NATIVE(DoUnescape);
BR_GLOBAL_NATIVE(DoEval);
BR_GLOBAL_NATIVE(DoIsFinite);
BR_GLOBAL_NATIVE(DoIsNaN);
BR_GLOBAL_NATIVE(DoParseFloat);
BR_GLOBAL_NATIVE(DoParseInt);
BR_GLOBAL_NATIVE(DoDecodeURI);
BR_GLOBAL_NATIVE(DoDecodeURIComponent);
BR_GLOBAL_NATIVE(DoEncodeURI);
BR_GLOBAL_NATIVE(DoEncodeURIComponent);
BR_GLOBAL_NATIVE(DoIsNull);
BR_GLOBAL_NATIVE(DoIsUndefined);
BR_GLOBAL_NATIVE(DoNameOf);

// global_format.cpp: format, sprintf, printf, printfln, formatFloat.
BR_GLOBAL_NATIVE(DoFormat);
BR_GLOBAL_NATIVE(DoFormatFloat);
BR_GLOBAL_NATIVE(DoPrintf);
BR_GLOBAL_NATIVE(DoPrintfln);

// global_host.cpp: dialogs, the console flag, the event loop, sleeping.
BR_GLOBAL_NATIVE(DoAlert);
BR_GLOBAL_NATIVE(DoPrompt);
BR_GLOBAL_NATIVE(DoConfirm);
BR_GLOBAL_NATIVE(DoTextArea);
BR_GLOBAL_NATIVE(DoMsgBox);
BR_GLOBAL_NATIVE(DoIsConsole);
BR_GLOBAL_NATIVE(DoEventLoop);
BR_GLOBAL_NATIVE(DoTerminate);
BR_GLOBAL_NATIVE(DoDoEvents);
BR_GLOBAL_NATIVE(DoSleep);

#undef BR_GLOBAL_NATIVE

}  // namespace stdlib
