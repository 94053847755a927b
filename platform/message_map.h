#pragma once
// Static message maps: each class lists the messages, commands and notifications it handles;
// a message not found in a class's map is looked up in its base class's map, and in the end goes
// to the window's default processing.

#include "platform/messages.h"
#include "platform/win_types.h"

class CCmdTarget;
class CWnd;
class CDC;

// The pseudo message under which every control-colour request is mapped.
constexpr UINT WM_CTLCOLOR = 0x0019;

using AFX_PMSG = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // window message, or WM_COMMAND
    UINT nCode;     // notification code for WM_COMMAND entries
    UINT nID;       // control or command id for WM_COMMAND entries (0: any)
    AFX_PMSG pfn;   // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// clang-format off
#define DECLARE_MESSAGE_MAP()                             \
protected:                                                \
    static const AFX_MSGMAP* GetThisMessageMap();         \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                              \
        using ThisClass [[maybe_unused]] = theClass; \
        using TheBaseClass = baseClass;                                            \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                              \
    {0, 0, 0, nullptr}                                                                 \
    }                                                                                  \
    ;                                                                                  \
    static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
    return &messageMap;                                                                \
    }

#define AFX_MSG_THUNK(body) \
    [](CCmdTarget * pTarget, [[maybe_unused]] WPARAM wParam, [[maybe_unused]] LPARAM lParam) -> LRESULT { \
        [[maybe_unused]] ThisClass* pThis = static_cast<ThisClass*>(pTarget);                             \
        body                                                                                              \
    }

#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, static_cast<UINT>(id), AFX_MSG_THUNK((pThis->*(memberFxn))(); return 0;)},
#define ON_BN_CLICKED(id, memberFxn) \
    {WM_COMMAND, BN_CLICKED, static_cast<UINT>(id), AFX_MSG_THUNK((pThis->*(memberFxn))(); return 0;)},
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, AFX_MSG_THUNK(return (pThis->*(memberFxn))(wParam, lParam);)},

#define ON_WM_CREATE() \
    {WM_CREATE, 0, 0, AFX_MSG_THUNK(return pThis->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam));)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, AFX_MSG_THUNK(pThis->OnDestroy(); return 0;)},
#define ON_WM_PAINT() {WM_PAINT, 0, 0, AFX_MSG_THUNK(pThis->OnPaint(); return 0;)},
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, AFX_MSG_THUNK(pThis->OnClose(); return 0;)},
#define ON_WM_MOVE() \
    {WM_MOVE, 0, 0, AFX_MSG_THUNK(pThis->OnMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); return 0;)},
#define ON_WM_SIZE()                                                                                  \
    {WM_SIZE, 0, 0,                                                                                   \
     AFX_MSG_THUNK(pThis->OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)); \
                   return 0;)},
#define ON_WM_SHOWWINDOW()                                                                        \
    {WM_SHOWWINDOW, 0, 0,                                                                         \
     AFX_MSG_THUNK(pThis->OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)); return 0;)},
#define ON_WM_NCHITTEST() \
    {WM_NCHITTEST, 0, 0, AFX_MSG_THUNK(return pThis->OnNcHitTest(CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));)},
#define ON_WM_QUERYDRAGICON() \
    {WM_QUERYDRAGICON, 0, 0, AFX_MSG_THUNK(return reinterpret_cast<LRESULT>(pThis->OnQueryDragIcon());)},
#define ON_WM_CTLCOLOR()                                                                              \
    {WM_CTLCOLOR, 0, 0,                                                                               \
     AFX_MSG_THUNK(auto* args = reinterpret_cast<const CtlColorArgs*>(lParam);                        \
                   return reinterpret_cast<LRESULT>(pThis->OnCtlColor(args->pDC, args->pWnd, args->nCtlColor));)},
#define ON_WM_ERASEBKGND() \
    {WM_ERASEBKGND, 0, 0, AFX_MSG_THUNK(return pThis->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam)));)},
#define AFX_MOUSE_THUNK(fn) \
    AFX_MSG_THUNK(pThis->fn(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))); return 0;)
#define ON_WM_MOUSEMOVE() {WM_MOUSEMOVE, 0, 0, AFX_MOUSE_THUNK(OnMouseMove)},
#define ON_WM_LBUTTONDOWN() {WM_LBUTTONDOWN, 0, 0, AFX_MOUSE_THUNK(OnLButtonDown)},
#define ON_WM_LBUTTONUP() {WM_LBUTTONUP, 0, 0, AFX_MOUSE_THUNK(OnLButtonUp)},
#define ON_WM_LBUTTONDBLCLK() {WM_LBUTTONDBLCLK, 0, 0, AFX_MOUSE_THUNK(OnLButtonDblClk)},
#define ON_WM_MOUSEHOVER() {WM_MOUSEHOVER, 0, 0, AFX_MOUSE_THUNK(OnMouseHover)},
#define ON_WM_MOUSELEAVE() {WM_MOUSELEAVE, 0, 0, AFX_MSG_THUNK(pThis->OnMouseLeave(); return 0;)},
#define ON_WM_SETCURSOR()                                                                        \
    {WM_SETCURSOR, 0, 0,                                                                         \
     AFX_MSG_THUNK(return pThis->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)),   \
                                             LOWORD(static_cast<std::uintptr_t>(lParam)),        \
                                             HIWORD(static_cast<std::uintptr_t>(lParam)));)},
#define ON_WM_KEYDOWN()                                                                           \
    {WM_KEYDOWN, 0, 0,                                                                            \
     AFX_MSG_THUNK(pThis->OnKeyDown(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)), \
                                    HIWORD(static_cast<std::uintptr_t>(lParam)));                 \
                   return 0;)},
#define ON_WM_HOTKEY()                                                                            \
    {WM_HOTKEY, 0, 0,                                                                             \
     AFX_MSG_THUNK(pThis->OnHotKey(static_cast<UINT>(wParam), LOWORD(static_cast<std::uintptr_t>(lParam)), \
                                   HIWORD(static_cast<std::uintptr_t>(lParam)));                  \
                   return 0;)},
#define ON_WM_TIMER() {WM_TIMER, 0, 0, AFX_MSG_THUNK(pThis->OnTimer(static_cast<UINT_PTR>(wParam)); return 0;)},
// clang-format on

struct CREATESTRUCT {
    HWND hwndParent;
    int x, y, cx, cy;
    DWORD style, dwExStyle;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// Arguments of a control-colour request as the map delivers them.
struct CtlColorArgs {
    CDC* pDC;
    CWnd* pWnd;
    UINT nCtlColor;
};
