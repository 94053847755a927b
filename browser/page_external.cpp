#include "platform/page_external.h"

#include "browser/imp_idispatch.h"

// Pages running in the engine's own process get the same object the browser controls hand out
// here: the rules of window.external live in CImpIDispatch alone.
IDispatch* CreatePageExternalObject() {
    static auto* const object = new CImpIDispatch();
    return object;
}
