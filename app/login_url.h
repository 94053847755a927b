#pragma once

// The operator's login page, fixed when the launcher is built (LAUNCHER_LOGIN_URL).
extern const char* const kLoginPageUrl;
