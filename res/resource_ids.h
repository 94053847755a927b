#pragma once
// Numbers of the program's resources: dialogs, controls, images and the icon.

// Dialog templates.
constexpr unsigned IDD_LOGIN_DIALOG = 102;
constexpr unsigned IDD_GAME_DIALOG = 131;
constexpr unsigned IDD_LOGIN_ACTIVE_DIALOG = 132;
constexpr unsigned IDD_CONFIRM_DIALOG = 172;
constexpr unsigned IDD_CLEAN_CACHE_DIALOG = 173;

// Controls. Numbers repeat across dialogs, as the templates give them.
constexpr int IDC_BROWSER = 1000;
constexpr int IDC_BTN_CLOSE = 1001;
constexpr int IDC_LOGO = 1002;
constexpr int IDC_BTN_MINIMIZE = 1003;
constexpr int IDC_BTN_FULLSCREEN = 1004;
constexpr int IDC_BTN_BOSSKEY = 1005;
constexpr int IDC_BTN_CLEANCACHE = 1006;
constexpr int IDC_BTN_REFRESH = 1007;
constexpr int IDC_BTN_SELECTSERVER = 1008;
constexpr int IDC_BTN_MAXIMIZE = 1009;
constexpr int IDC_BTN_RESTORE = 1011;
constexpr int IDC_PANEL_CLOSE = 1005;
constexpr int IDC_PANEL_MINIMIZE = 1006;
constexpr int IDC_CONFIRM_TITLE = 1002;
constexpr int IDC_CONFIRM_MESSAGE = 1003;
constexpr int IDC_CONFIRM_OK = 1008;
constexpr int IDC_CONFIRM_CANCEL = 1009;
constexpr int IDC_CLEAN_LABEL = 1002;
constexpr int IDC_CLEAN_FRAME = 1009;
constexpr unsigned ID_TRAY_EXIT = 1013;

// Images.
constexpr unsigned IDP_LOGIN_ARTWORK = 155;
constexpr unsigned IDP_PANEL_CLOSE = 160;
constexpr unsigned IDP_PANEL_MINIMIZE = 162;
constexpr unsigned IDP_BOSSKEY = 164;
constexpr unsigned IDP_CLOSE = 166;
constexpr unsigned IDP_FULLSCREEN = 167;
constexpr unsigned IDP_MAXIMIZE = 168;
constexpr unsigned IDP_MINIMIZE = 169;
constexpr unsigned IDP_REFRESH = 170;
constexpr unsigned IDP_SELECTSERVER = 171;
constexpr unsigned IDP_CONFIRM_OK = 175;
constexpr unsigned IDP_CONFIRM_CANCEL = 176;
constexpr unsigned IDP_RESTORE = 189;
constexpr unsigned IDP_CLEANCACHE = 1000;
constexpr unsigned IDB_TITLEBAR = 136;
constexpr unsigned IDB_LOGO = 141;
constexpr unsigned IDB_CONFIRM_BACK = 177;
constexpr unsigned IDB_CLEAN_BACK = 187;
constexpr unsigned IDI_APP = 128;
