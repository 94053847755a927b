# Which login page addresses the build accepts: cmake -P tests/cmake/login_url_check_test.cmake
cmake_policy(SET CMP0007 NEW)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/LoginUrlCheck.cmake)

set(accepted
    "http://127.0.0.1:8645/client"
    "https://login.example.com/client"
    "http://login.example.com"
    "http://[::1]:8080/client"
    "https://例子.example/client?from=launcher#top")
set(refused
    "ftp://login.example.com/client"
    "login.example.com/client"
    "http:///client"
    "http://"
    "http://user@login.example.com/client"
    "http://login.example.com:99999/client"
    "http://login.example.com:0/client"
    "http://login example.com/client"
    "http://login.example.com/cli\"ent"
    "http://host:port/client"
    "")

set(failures 0)
foreach(url IN LISTS accepted)
    launcher_check_login_url("${url}" error)
    if(NOT error STREQUAL "")
        message(SEND_ERROR "refused \"${url}\": ${error}")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
foreach(url IN LISTS refused)
    launcher_check_login_url("${url}" error)
    if(error STREQUAL "")
        message(SEND_ERROR "accepted \"${url}\"")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()
list(LENGTH accepted a)
list(LENGTH refused r)
math(EXPR total "${a} + ${r}")
math(EXPR passed "${total} - ${failures}")
message(STATUS "${passed} passed, ${failures} failed")
