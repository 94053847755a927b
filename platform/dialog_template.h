#pragma once
// Dialog templates compiled into the program: the window's style, size in dialog units, font and
// controls. Positions and sizes are in dialog units, converted with the template font's base units.

#include <string>
#include <vector>

#include "platform/win_types.h"

namespace platform {

struct DialogControlTemplate {
    int id;
    std::string className;  // "BUTTON", "STATIC", or a control's class id in braces
    std::string text;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;
};

struct DialogTemplate {
    UINT id;
    DWORD style;
    DWORD exStyle;
    int x, y, cx, cy;
    std::string fontFace;
    int pointSize;
    int weight;
    std::vector<DialogControlTemplate> controls;
};

// The program's templates register themselves at start-up.
void RegisterDialogTemplate(const DialogTemplate& dialog);
const DialogTemplate* FindDialogTemplate(UINT id);

// Dialog units to pixels for a template font of the given point size.
CRect DialogUnitsToPixels(int pointSize, int x, int y, int cx, int cy);
int PointsToPixels(int points);

}  // namespace platform
