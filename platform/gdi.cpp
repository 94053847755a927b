#include "platform/gdi.h"

#include <map>
#include <memory>
#include <variant>

#include "platform/dialog_template.h"
#include "platform/image_codecs.h"
#include "platform/resources.h"
#include "platform/window_system.h"
#include "platform/wnd.h"

using platform::DcTarget;
using platform::FontSpec;
using platform::PixelBuffer;
using platform::WindowSystem;

namespace {

struct BrushObject {
    COLORREF color = 0;
    bool hollow = false;
};
struct BitmapObject {
    PixelBuffer pixels;
};
struct FontObject {
    FontSpec spec;
};
using GdiObject = std::variant<BrushObject, BitmapObject, FontObject>;

std::map<HGDIOBJ, std::unique_ptr<GdiObject>>& Objects() {
    static auto* objects = new std::map<HGDIOBJ, std::unique_ptr<GdiObject>>();
    return *objects;
}

HGDIOBJ NewObject(GdiObject object) {
    auto owned = std::make_unique<GdiObject>(std::move(object));
    HGDIOBJ handle = owned.get();
    Objects()[handle] = std::move(owned);
    return handle;
}

GdiObject* FindObject(HGDIOBJ handle) {
    auto it = Objects().find(handle);
    return it == Objects().end() ? nullptr : it->second.get();
}

HGDIOBJ HollowBrush() {
    static HGDIOBJ hollow = NewObject(BrushObject{0, true});
    return hollow;
}

struct DcState {
    HWND window = nullptr;  // a window's context; null for a memory context
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
};

std::map<HDC, std::unique_ptr<DcState>>& Dcs() {
    static auto* dcs = new std::map<HDC, std::unique_ptr<DcState>>();
    return *dcs;
}

DcState* FindDc(HDC hdc) {
    auto it = Dcs().find(hdc);
    return it == Dcs().end() ? nullptr : it->second.get();
}

HDC NewDc(DcState state) {
    auto owned = std::make_unique<DcState>(state);
    HDC handle = reinterpret_cast<HDC>(owned.get());
    Dcs()[handle] = std::move(owned);
    return handle;
}

std::map<HDC, std::unique_ptr<CDC>>& TemporaryDcs() {
    static auto* temps = new std::map<HDC, std::unique_ptr<CDC>>();
    return *temps;
}

void ForgetDc(HDC hdc) {
    Dcs().erase(hdc);
    auto it = TemporaryDcs().find(hdc);
    if (it != TemporaryDcs().end()) {
        it->second->m_hDC = nullptr;
        TemporaryDcs().erase(it);
    }
}

struct IconObject {
    PixelBuffer pixels;
};

std::map<HICON, std::unique_ptr<IconObject>>& Icons() {
    static auto* icons = new std::map<HICON, std::unique_ptr<IconObject>>();
    return *icons;
}

}  // namespace

namespace platform {

DcTarget ResolveDc(HDC hdc) {
    DcState* dc = FindDc(hdc);
    if (dc == nullptr)
        return {};
    if (dc->window != nullptr)
        return WindowSystem::Get().PaintTargetFor(dc->window);
    PixelBuffer* pixels = BitmapPixels(dc->bitmap);
    if (pixels == nullptr)
        return {};
    return DcTarget{pixels, CPoint(0, 0), CRect(0, 0, pixels->Width(), pixels->Height())};
}

void DcContentChanged(HDC hdc) {
    DcState* dc = FindDc(hdc);
    if (dc == nullptr || dc->window == nullptr)
        return;
    auto& ws = WindowSystem::Get();
    if (!ws.Painting())
        ws.ContentChanged(ws.TopLevelOf(dc->window));
}

PixelBuffer* BitmapPixels(HBITMAP bitmap) {
    GdiObject* o = FindObject(bitmap);
    auto* b = o ? std::get_if<BitmapObject>(o) : nullptr;
    return b ? &b->pixels : nullptr;
}

HBITMAP CreateBitmapFromPixels(PixelBuffer pixels) {
    return static_cast<HBITMAP>(NewObject(BitmapObject{std::move(pixels)}));
}

bool BrushColor(HBRUSH brush, COLORREF& color) {
    GdiObject* o = FindObject(brush);
    auto* b = o ? std::get_if<BrushObject>(o) : nullptr;
    if (b == nullptr || b->hollow)
        return false;
    color = b->color;
    return true;
}

FontSpec FontOf(HFONT font) {
    GdiObject* o = FindObject(font);
    auto* f = o ? std::get_if<FontObject>(o) : nullptr;
    return f ? f->spec : FontSpec{};
}

}  // namespace platform

HDC CreateCompatibleDC(HDC) {
    return NewDc(DcState{});
}

BOOL DeleteDC(HDC hdc) {
    if (FindDc(hdc) == nullptr)
        return FALSE;
    ForgetDc(hdc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    DcState* dc = FindDc(hdc);
    GdiObject* o = FindObject(object);
    if (dc == nullptr || o == nullptr)
        return nullptr;
    if (std::holds_alternative<BitmapObject>(*o)) {
        HGDIOBJ previous = dc->bitmap;
        dc->bitmap = static_cast<HBITMAP>(object);
        return previous ? previous : object;
    }
    if (std::holds_alternative<FontObject>(*o)) {
        HGDIOBJ previous = dc->font;
        dc->font = static_cast<HFONT>(object);
        return previous;
    }
    return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    if (object == nullptr || object == HollowBrush())
        return FALSE;
    return Objects().erase(object) > 0;
}

HGDIOBJ GetStockObject(int which) {
    return which == NULL_BRUSH ? HollowBrush() : nullptr;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(NewObject(BrushObject{color, false}));
}

HBITMAP CreateCompatibleBitmap(HDC, int width, int height) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return nullptr;
    return platform::CreateBitmapFromPixels(PixelBuffer(width, height, 0));
}

HBITMAP LoadBitmapW(HINSTANCE instance, LPCTSTR name) {
    HRSRC res = FindResourceW(instance, name, RT_BITMAP);
    if (res == nullptr)
        return nullptr;
    const void* data = LockResource(LoadResource(instance, res));
    PixelBuffer pixels;
    if (data == nullptr || !platform::DecodeBmp(data, SizeofResource(instance, res), pixels))
        return nullptr;
    return platform::CreateBitmapFromPixels(std::move(pixels));
}

HICON LoadIconW(HINSTANCE instance, LPCTSTR name) {
    HRSRC res = FindResourceW(instance, name, RT_GROUP_ICON);
    if (res == nullptr)
        return nullptr;
    const void* data = LockResource(LoadResource(instance, res));
    auto icon = std::make_unique<IconObject>();
    if (data == nullptr || !platform::DecodeIco(data, SizeofResource(instance, res), icon->pixels))
        return nullptr;
    HICON handle = reinterpret_cast<HICON>(icon.get());
    Icons()[handle] = std::move(icon);
    return handle;
}

const PixelBuffer* IconPixels(HICON icon) {
    auto it = Icons().find(icon);
    return it == Icons().end() ? nullptr : &it->second->pixels;
}

HDC GetDC(HWND hwnd) {
    if (!IsWindow(hwnd))
        return nullptr;
    return NewDc(DcState{hwnd});
}

HDC GetWindowDC(HWND hwnd) {
    return GetDC(hwnd);
}

int ReleaseDC(HWND, HDC hdc) {
    if (FindDc(hdc) == nullptr)
        return 0;
    ForgetDc(hdc);
    return 1;
}

int GetSystemMetrics(int index) {
    switch (index) {
        case SM_CXICON:
        case SM_CYICON:
            return 32;
        default:
            return 0;
    }
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) {
    const PixelBuffer* pixels = IconPixels(icon);
    const DcTarget t = platform::ResolveDc(hdc);
    if (pixels == nullptr || t.pixels == nullptr)
        return FALSE;
    t.pixels->Blend(*pixels, CRect(0, 0, pixels->Width(), pixels->Height()), t.origin.x + x,
                    t.origin.y + y, t.clip);
    platform::DcContentChanged(hdc);
    return TRUE;
}

// --- GDI object wrappers -------------------------------------------------------------------

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    if (m_hObject != nullptr || object == nullptr)
        return FALSE;
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr)
        return FALSE;
    const BOOL ok = ::DeleteObject(Detach());
    return ok;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return Attach(::CreateSolidBrush(color));
}

BOOL CBitmap::LoadBitmap(UINT id) {
    return Attach(::LoadBitmapW(AfxGetResourceHandle(), MAKEINTRESOURCE(id)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}

CSize CBitmap::GetSize() const {
    const PixelBuffer* p = platform::BitmapPixels(static_cast<HBITMAP>(m_hObject));
    return p ? CSize(p->Width(), p->Height()) : CSize();
}

BOOL CFont::CreatePointFont(int pointSizeTenths, LPCTSTR faceName, CDC*) {
    FontSpec spec;
    spec.face = faceName && *faceName ? faceName : "Sans";
    spec.pixelHeight = platform::PointsToPixels(pointSizeTenths) / 10;
    if (spec.pixelHeight <= 0)
        spec.pixelHeight = 1;
    return Attach(NewObject(FontObject{spec}));
}

// --- Device contexts -------------------------------------------------------------------------

CDC::~CDC() {
    if (m_hDC != nullptr && TemporaryDcs().count(m_hDC) == 0) {
        // A context this object created is deleted with it.
        if (FindDc(m_hDC) && FindDc(m_hDC)->window == nullptr)
            ForgetDc(m_hDC);
    }
}

CDC* CDC::FromHandle(HDC hdc) {
    if (hdc == nullptr)
        return nullptr;
    auto& temps = TemporaryDcs();
    auto& slot = temps[hdc];
    if (!slot) {
        slot = std::make_unique<CDC>();
        slot->m_hDC = hdc;
    }
    return slot.get();
}

BOOL CDC::CreateCompatibleDC(CDC* dc) {
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::Attach(HDC hdc) {
    if (m_hDC != nullptr || hdc == nullptr)
        return FALSE;
    m_hDC = hdc;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    m_hDC = nullptr;
    return h;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr)
        return FALSE;
    return ::DeleteDC(Detach());
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    CBitmap* previous = selectedBitmap_;
    if (bitmap)
        ::SelectObject(m_hDC, bitmap->m_hObject);
    selectedBitmap_ = bitmap;
    return previous;
}

CFont* CDC::SelectObject(CFont* font) {
    CFont* previous = selectedFont_;
    if (font)
        ::SelectObject(m_hDC, font->m_hObject);
    selectedFont_ = font;
    return previous;
}

HGDIOBJ CDC::SelectObject(HGDIOBJ object) {
    return ::SelectObject(m_hDC, object);
}

COLORREF CDC::SetTextColor(COLORREF color) {
    DcState* dc = FindDc(m_hDC);
    if (dc == nullptr)
        return 0;
    const COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF color) {
    DcState* dc = FindDc(m_hDC);
    if (dc == nullptr)
        return 0;
    const COLORREF previous = dc->bkColor;
    dc->bkColor = color;
    return previous;
}

int CDC::SetBkMode(int mode) {
    DcState* dc = FindDc(m_hDC);
    if (dc == nullptr)
        return 0;
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    return previous;
}

void CDC::FillSolidRect(const CRect& rect, COLORREF color) {
    const DcTarget t = platform::ResolveDc(m_hDC);
    if (t.pixels == nullptr)
        return;
    CRect r = rect;
    r.OffsetRect(t.origin.x, t.origin.y);
    t.pixels->Fill(r.Intersect(t.clip), platform::OpaqueArgb(color));
    platform::DcContentChanged(m_hDC);
}

BOOL CDC::FillRect(const CRect& rect, HBRUSH brush) {
    COLORREF c;
    if (!platform::BrushColor(brush, c))
        return FALSE;
    FillSolidRect(rect, c);
    return TRUE;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc, DWORD) {
    if (src == nullptr)
        return FALSE;
    const DcTarget d = platform::ResolveDc(m_hDC);
    const DcTarget s = platform::ResolveDc(src->m_hDC);
    if (d.pixels == nullptr || s.pixels == nullptr)
        return FALSE;
    const CRect srcArea(CPoint(s.origin.x + xSrc, s.origin.y + ySrc), CSize(width, height));
    // Copy via a snapshot: source and destination may be the same pixels.
    PixelBuffer snapshot = *s.pixels;
    const CRect limited =
        CRect(d.origin.x + x, d.origin.y + y, d.origin.x + x + width, d.origin.y + y + height);
    d.pixels->Copy(snapshot, srcArea.Intersect(s.clip.IsRectEmpty() ? srcArea : s.clip),
                   d.origin.x + x, d.origin.y + y, limited.Intersect(d.clip));
    platform::DcContentChanged(m_hDC);
    return TRUE;
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, DWORD) {
    if (src == nullptr)
        return FALSE;
    const DcTarget d = platform::ResolveDc(m_hDC);
    const DcTarget s = platform::ResolveDc(src->m_hDC);
    if (d.pixels == nullptr || s.pixels == nullptr)
        return FALSE;
    const CRect srcArea(CPoint(s.origin.x + xSrc, s.origin.y + ySrc), CSize(srcWidth, srcHeight));
    const CRect dstArea(CPoint(d.origin.x + x, d.origin.y + y), CSize(width, height));
    PixelBuffer snapshot = *s.pixels;
    d.pixels->StretchCopy(snapshot, srcArea, dstArea, d.clip);
    platform::DcContentChanged(m_hDC);
    return TRUE;
}

int CDC::DrawText(const CString& text, CRect rect, UINT format) {
    DcState* dc = FindDc(m_hDC);
    const DcTarget t = platform::ResolveDc(m_hDC);
    if (dc == nullptr || t.pixels == nullptr || !platform::HasBackend())
        return 0;
    FontSpec font = platform::FontOf(dc->font);
    if (dc->font == nullptr && dc->window) {
        // A window's context starts with the window's font.
        for (auto* w = WindowSystem::Get().Find(dc->window); w;
             w = WindowSystem::Get().Find(w->parent))
            if (w->font) {
                font = platform::FontOf(w->font);
                break;
            }
    }
    rect.OffsetRect(t.origin.x, t.origin.y);
    platform::CurrentBackend().DrawText(*t.pixels, t.clip, rect, text, font, dc->textColor, format);
    platform::DcContentChanged(m_hDC);
    return rect.Height();
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    DrawText(text, CRect(x, y, x + 4096, y + 4096),
             platform::kTextLeft | platform::kTextSingleLine);
    return TRUE;
}

BOOL CDC::DrawIcon(int x, int y, HICON icon) {
    return ::DrawIcon(m_hDC, x, y, icon);
}

CPaintDC::CPaintDC(CWnd* wnd) : hwnd_(wnd ? wnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(hwnd_);
}
CPaintDC::~CPaintDC() {
    ::ReleaseDC(hwnd_, Detach());
}

CClientDC::CClientDC(CWnd* wnd) : hwnd_(wnd ? wnd->m_hWnd : nullptr) {
    m_hDC = ::GetDC(hwnd_);
}
CClientDC::~CClientDC() {
    ::ReleaseDC(hwnd_, Detach());
}
