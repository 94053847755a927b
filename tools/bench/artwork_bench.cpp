// Artwork costs on the program's own code, in microseconds: decoding the compiled-in PNGs (the
// login artwork and the button strips) and the per-pixel layered update of the login window, on
// the simulated desktop so the figure is the program's work and not an X server's.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/image_codecs.h"
#include "platform/messages.h"
#include "platform/resources.h"
#include "platform/sim/sim_desktop.h"
#include "platform/window_system.h"
#include "res/resource_ids.h"
#include "ui/gdiplus_png.h"
#include "ui/layered_window_helper.h"

namespace {

struct ResourceBytes {
    const void* data = nullptr;
    std::size_t size = 0;
};

ResourceBytes PngBytes(UINT id) {
    HRSRC resource = FindResourceW(AfxGetResourceHandle(), MAKEINTRESOURCE(id), "PNG");
    if (resource == nullptr)
        return {};
    return {LockResource(LoadResource(AfxGetResourceHandle(), resource)),
            SizeofResource(AfxGetResourceHandle(), resource)};
}

// The decoder alone, on the bytes compiled into the program.
void BM_DecodePng(benchmark::State& state) {
    const auto id = static_cast<UINT>(state.range(0));
    const ResourceBytes png = PngBytes(id);
    if (png.data == nullptr) {
        state.SkipWithError(("no PNG " + std::to_string(id)).c_str());
        return;
    }
    platform::PixelBuffer pixels;
    for (auto _ : state) {
        if (!platform::DecodePng(png.data, png.size, pixels)) {
            state.SkipWithError("decode failed");
            return;
        }
        benchmark::DoNotOptimize(pixels);
    }
    state.SetLabel(std::to_string(pixels.Width()) + "x" + std::to_string(pixels.Height()));
}

// What the program does for a picture: copy the resource, open a stream on it, decode.
void BM_LoadPngResource(benchmark::State& state) {
    const auto id = static_cast<UINT>(state.range(0));
    for (auto _ : state) {
        CGdiPlusPngResource holder;
        if (!holder.LoadFromResource(id, AfxGetResourceHandle())) {
            state.SkipWithError(("no PNG " + std::to_string(id)).c_str());
            return;
        }
        benchmark::DoNotOptimize(holder.m_pImage);
    }
}

// The login window's look: PNG 155 drawn into a bitmap and handed to the window with its alpha.
void BM_LoginLayeredUpdate(benchmark::State& state) {
    platform::WindowSystem::Get().ResetForTests();
    platform::InstallBackend(std::make_unique<platform::SimDesktop>());
    CLayeredWindowHelper layered;
    if (!layered.m_png.LoadFromResource(IDP_LOGIN_ARTWORK, AfxGetResourceHandle())) {
        state.SkipWithError("no login artwork");
        return;
    }
    const auto width = static_cast<int>(layered.m_png.m_pImage->GetWidth());
    const auto height = static_cast<int>(layered.m_png.m_pImage->GetHeight());
    layered.m_hTargetWnd =
        platform::WindowSystem::Get().Create("#32770", "BrelvoOstrand", WS_POPUP | WS_VISIBLE, 0,
                                             CRect(0, 0, width, height), nullptr, 0, nullptr);
    if (layered.m_hTargetWnd == nullptr) {
        state.SkipWithError("no window");
        return;
    }
    for (auto _ : state)
        layered.UpdateFromPng();
    layered.m_png.Reset();
    platform::WindowSystem::Get().Destroy(layered.m_hTargetWnd);
    platform::WindowSystem::Get().ResetForTests();
}

void Strips(benchmark::internal::Benchmark* b) {
    for (UINT id : {IDP_LOGIN_ARTWORK, IDP_PANEL_CLOSE, IDP_PANEL_MINIMIZE, IDP_BOSSKEY, IDP_CLOSE,
                    IDP_FULLSCREEN, IDP_MAXIMIZE, IDP_MINIMIZE, IDP_REFRESH, IDP_SELECTSERVER,
                    IDP_CONFIRM_OK, IDP_CONFIRM_CANCEL, IDP_RESTORE, IDP_CLEANCACHE})
        b->Arg(id);
}

}  // namespace

BENCHMARK(BM_DecodePng)->Apply(Strips)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadPngResource)->Arg(IDP_LOGIN_ARTWORK)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoginLayeredUpdate)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
