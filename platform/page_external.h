#pragma once
// The object behind window.external for pages that run outside the user-interface process.
//
// A backend whose engine runs page scripts in a process of its own (gtk: WebKit's web process)
// cannot call the object a view was given in BrowserOptions, so it builds its own copy of it
// there with this function and hands every page and frame of a view that has an external object
// to it. The program defines the function; the backend's page-side module calls it once.

struct IDispatch;

// The page-side external object, owned by the process for its whole life; null for none.
IDispatch* CreatePageExternalObject();
