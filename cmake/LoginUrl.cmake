# The operator's login page is fixed when the launcher is built.
set(LAUNCHER_LOGIN_URL "http://127.0.0.1:8645/client" CACHE STRING
    "Absolute http or https address of the operator's login page")

include(${CMAKE_CURRENT_LIST_DIR}/LoginUrlCheck.cmake)
launcher_check_login_url("${LAUNCHER_LOGIN_URL}" _login_url_error)
if(NOT _login_url_error STREQUAL "")
    message(FATAL_ERROR
        "LAUNCHER_LOGIN_URL must be an absolute http:// or https:// address such as "
        "http://127.0.0.1:8645/client, but \"${LAUNCHER_LOGIN_URL}\" is not: ${_login_url_error}.")
endif()

# The constant lives in one generated source so a new address rebuilds one file.
configure_file(${CMAKE_CURRENT_LIST_DIR}/login_url.cpp.in ${CMAKE_BINARY_DIR}/generated/login_url.cpp @ONLY)
add_library(launcher_login_url STATIC ${CMAKE_BINARY_DIR}/generated/login_url.cpp)
target_include_directories(launcher_login_url PUBLIC ${CMAKE_SOURCE_DIR})
