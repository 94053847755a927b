// The program's dialog templates: styles, sizes in dialog units, fonts and controls.

#include "platform/dialog_template.h"
#include "platform/occ.h"
#include "res/resource_ids.h"

namespace {

using platform::DialogControlTemplate;
using platform::DialogTemplate;

const char* const kBrowser = "{8856F961-340A-11D0-A96B-00C04FD705A2}";

const bool registered = [] {
    // Main login window: no controls; it takes the artwork's size at run time.
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_LOGIN_DIALOG, 0x9000004C, 0x00040000, 0, 0, 561, 386, "MS Shell Dlg", 9, 0, {}});

    // Game window: browser, logo and nine title-bar buttons, in tab order.
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_GAME_DIALOG,
        0x8008004C,
        0x00040080,
        0,
        0,
        256,
        110,
        "MS Shell Dlg",
        8,
        400,
        {
            DialogControlTemplate{IDC_BROWSER, kBrowser, "", 0x40010000, 0, 7, 71, 441, 192},
            DialogControlTemplate{IDC_LOGO, "STATIC", "Static", 0x50020200, 0, 7, 7, 96, 13},
            DialogControlTemplate{IDC_BTN_CLOSE, "BUTTON", "X", 0x50010000, 0, 428, 7, 20, 14},
            DialogControlTemplate{IDC_BTN_MAXIMIZE, "BUTTON", "max", 0x50010000, 0, 407, 7, 20, 14},
            DialogControlTemplate{IDC_BTN_MINIMIZE, "BUTTON", "-", 0x50010000, 0, 388, 7, 20, 14},
            DialogControlTemplate{IDC_BTN_FULLSCREEN, "BUTTON", "full", 0x50010000, 0, 349, 7, 36,
                                  14},
            DialogControlTemplate{IDC_BTN_BOSSKEY, "BUTTON", "boss", 0x50010000, 0, 311, 7, 36, 14},
            DialogControlTemplate{IDC_BTN_REFRESH, "BUTTON", "refresh", 0x50010000, 0, 239, 7, 36,
                                  14},
            DialogControlTemplate{IDC_BTN_SELECTSERVER, "BUTTON", "server", 0x50010000, 0, 203, 7,
                                  36, 14},
            DialogControlTemplate{IDC_BTN_CLEANCACHE, "BUTTON", "clean", 0x50010000, 0, 277, 7, 36,
                                  14},
            DialogControlTemplate{IDC_BTN_RESTORE, "BUTTON", "normal", 0x50010000, 0, 183, 7, 20,
                                  14},
        }});

    // Login page panel: the browser and the two round buttons.
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_LOGIN_ACTIVE_DIALOG,
        0x9000004C,
        0,
        0,
        0,
        387,
        333,
        "MS Shell Dlg",
        9,
        0,
        {
            DialogControlTemplate{IDC_PANEL_CLOSE, "BUTTON", "", 0x5001018B, 0x00000020, 366, 0, 14,
                                  16},
            DialogControlTemplate{IDC_PANEL_MINIMIZE, "BUTTON", "", 0x5001008B, 0x00000020, 347, 0,
                                  13, 14},
            DialogControlTemplate{IDC_BROWSER, kBrowser, "", 0x40000000, 0, 0, 17, 372, 265},
        }});

    // Confirmation dialog.
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_CONFIRM_DIALOG,
        0x90080044,
        0,
        0,
        0,
        256,
        110,
        "宋体",
        10,
        400,
        {
            DialogControlTemplate{IDC_CONFIRM_TITLE, "STATIC", "Static", 0x50020001, 0x00000020, 35,
                                  7, 76, 9},
            DialogControlTemplate{IDC_CONFIRM_OK, "BUTTON", "Button1", 0x50010000, 0, 18, 35, 50,
                                  14},
            DialogControlTemplate{IDC_CONFIRM_CANCEL, "BUTTON", "Button2", 0x50010000, 0, 80, 35,
                                  50, 14},
            DialogControlTemplate{IDC_CONFIRM_MESSAGE, "STATIC", "确定要退出游戏吗？", 0x50020001,
                                  0x00000020, 16, 17, 110, 24},
        }});

    // Cache cleaning dialog.
    platform::RegisterDialogTemplate(DialogTemplate{
        IDD_CLEAN_CACHE_DIALOG,
        0x90000044,
        0,
        0,
        0,
        256,
        111,
        "宋体",
        10,
        400,
        {
            DialogControlTemplate{IDC_CLEAN_LABEL, "STATIC", "缓存清理中,请稍后(按ESC取消)...",
                                  0x50020000, 0x00000020, 64, 65, 123, 9},
            DialogControlTemplate{IDC_CLEAN_FRAME, "STATIC", "", 0x50000007, 0, 105, 29, 35, 28},
        }});
    return true;
}();

}  // namespace

// Referenced by the program so the templates are always linked in.
bool DialogTemplatesRegistered() {
    return registered;
}
