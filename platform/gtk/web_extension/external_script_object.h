#pragma once
// window.external in a page's script context, answered by an IDispatch.
//
// Every read, write and call of a member goes to the object: GetIDsOfNames decides whether the
// member exists, Invoke gives or takes its value. A name the object does not know fails with the
// script engine's own TypeError; nothing is stored on the script side, so the object alone says
// what a page sees.

#include <jsc/jsc.h>

struct IDispatch;

namespace platform::gtk {

// Defines `external` on context's global object (configurable, not writable) as an object backed
// by `external`, which gets one reference for as long as the script object lives.
void InstallExternalScriptObject(JSCContext* context, IDispatch* external);

}  // namespace platform::gtk
