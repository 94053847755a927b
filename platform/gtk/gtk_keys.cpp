#include "platform/gtk/gtk_keys.h"

#include <gdk/gdk.h>
#include <gdk/gdkkeysyms.h>

namespace platform::gtk {

namespace {

struct KeyPair {
    unsigned keyval;
    UINT vk;
};

// Keys whose VK code is not derived arithmetically. The first entry of a VK code is the one
// used for the way back.
constexpr KeyPair kKeys[] = {
    {GDK_KEY_BackSpace, 0x08},   {GDK_KEY_Tab, 0x09},       {GDK_KEY_ISO_Left_Tab, 0x09},
    {GDK_KEY_Return, 0x0D},      {GDK_KEY_KP_Enter, 0x0D},  {GDK_KEY_Shift_L, 0x10},
    {GDK_KEY_Shift_R, 0x10},     {GDK_KEY_Control_L, 0x11}, {GDK_KEY_Control_R, 0x11},
    {GDK_KEY_Alt_L, 0x12},       {GDK_KEY_Alt_R, 0x12},     {GDK_KEY_Pause, 0x13},
    {GDK_KEY_Caps_Lock, 0x14},   {GDK_KEY_Escape, 0x1B},    {GDK_KEY_space, 0x20},
    {GDK_KEY_Page_Up, 0x21},     {GDK_KEY_Page_Down, 0x22}, {GDK_KEY_End, 0x23},
    {GDK_KEY_Home, 0x24},        {GDK_KEY_Left, 0x25},      {GDK_KEY_Up, 0x26},
    {GDK_KEY_Right, 0x27},       {GDK_KEY_Down, 0x28},      {GDK_KEY_Print, 0x2C},
    {GDK_KEY_Insert, 0x2D},      {GDK_KEY_Delete, 0x2E},    {GDK_KEY_KP_Left, 0x25},
    {GDK_KEY_KP_Up, 0x26},       {GDK_KEY_KP_Right, 0x27},  {GDK_KEY_KP_Down, 0x28},
    {GDK_KEY_KP_Multiply, 0x6A}, {GDK_KEY_KP_Add, 0x6B},    {GDK_KEY_KP_Subtract, 0x6D},
    {GDK_KEY_KP_Decimal, 0x6E},  {GDK_KEY_KP_Divide, 0x6F}, {GDK_KEY_Num_Lock, 0x90},
    {GDK_KEY_Scroll_Lock, 0x91},
};

}  // namespace

UINT VirtualKeyFromKeyval(unsigned keyval) {
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z)
        return 'A' + (keyval - GDK_KEY_a);
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z)
        return 'A' + (keyval - GDK_KEY_A);
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9)
        return '0' + (keyval - GDK_KEY_0);
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9)
        return 0x60 + (keyval - GDK_KEY_KP_0);
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24)
        return 0x70 + (keyval - GDK_KEY_F1);
    for (const KeyPair& k : kKeys) {
        if (k.keyval == keyval)
            return k.vk;
    }
    return 0;
}

unsigned long KeysymFromVirtualKey(UINT vk) {
    if (vk >= 'A' && vk <= 'Z')
        return GDK_KEY_a + (vk - 'A');
    if (vk >= '0' && vk <= '9')
        return GDK_KEY_0 + (vk - '0');
    if (vk >= 0x60 && vk <= 0x69)
        return GDK_KEY_KP_0 + (vk - 0x60);
    if (vk >= 0x70 && vk <= 0x87)
        return GDK_KEY_F1 + (vk - 0x70);
    for (const KeyPair& k : kKeys) {
        if (k.vk == vk)
            return k.keyval;
    }
    return 0;
}

}  // namespace platform::gtk
