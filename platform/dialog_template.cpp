#include "platform/dialog_template.h"

#include <map>

namespace platform {

namespace {
std::map<UINT, DialogTemplate>& Templates() {
    static std::map<UINT, DialogTemplate> templates;
    return templates;
}
}  // namespace

void RegisterDialogTemplate(const DialogTemplate& dialog) {
    Templates()[dialog.id & 0xFFFF] = dialog;
}

const DialogTemplate* FindDialogTemplate(UINT id) {
    auto it = Templates().find(id & 0xFFFF);
    return it == Templates().end() ? nullptr : &it->second;
}

// Every pixel is a physical pixel at 96 dots per inch.
int PointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

CRect DialogUnitsToPixels(int pointSize, int x, int y, int cx, int cy) {
    // Average character cell of the template font: about 6 x 13 pixels at 8 points.
    const int em = PointsToPixels(pointSize > 0 ? pointSize : 8);
    const int baseX = (em * 9 + 8) / 16;
    const int baseY = em + 2;
    auto hx = [&](int v) { return (v * baseX + 2) / 4; };
    auto vy = [&](int v) { return (v * baseY + 4) / 8; };
    return CRect(hx(x), vy(y), hx(x) + hx(cx), vy(y) + vy(cy));
}

}  // namespace platform
