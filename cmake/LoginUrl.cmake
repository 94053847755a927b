# The operator's login page is fixed when the launcher is built.
set(LAUNCHER_LOGIN_URL "http://127.0.0.1:8645/client" CACHE STRING
    "Absolute http or https address of the operator's login page")

# scheme://host[:port]/path..., with no white space or control characters.
if(NOT LAUNCHER_LOGIN_URL MATCHES "^https?://[^/?#]+([/?#].*)?$"
   OR LAUNCHER_LOGIN_URL MATCHES "[ \t\r\n\"\\\\]")
    message(FATAL_ERROR
        "LAUNCHER_LOGIN_URL must be an absolute http:// or https:// address such as "
        "http://127.0.0.1:8645/client, but it is \"${LAUNCHER_LOGIN_URL}\".")
endif()
string(REGEX MATCH "^https?://([^/:]*)" _host_match "${LAUNCHER_LOGIN_URL}")
if(CMAKE_MATCH_1 STREQUAL "")
    message(FATAL_ERROR "LAUNCHER_LOGIN_URL \"${LAUNCHER_LOGIN_URL}\" has no host.")
endif()

# The constant lives in one generated source so a new address rebuilds one file.
configure_file(${CMAKE_CURRENT_LIST_DIR}/login_url.cpp.in ${CMAKE_BINARY_DIR}/generated/login_url.cpp @ONLY)
add_library(launcher_login_url STATIC ${CMAKE_BINARY_DIR}/generated/login_url.cpp)
target_include_directories(launcher_login_url PUBLIC ${CMAKE_SOURCE_DIR})
