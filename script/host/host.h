// The host objects' part in every engine: their registration routines join the ones a script
// component calls after making its engine (files and system, network, automation, DLL calls,
// check-list dialog, in this order), and socket objects get the engine's print-line routine as
// their debug sink. Programs that run scripts call Install() once, after the standard library's.
#pragma once

namespace host {

void Install();

}  // namespace host
