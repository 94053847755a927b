# One warning set for every target of ours.
function(launcher_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
        -Wcast-align -Woverloaded-virtual -Wnull-dereference -Wformat=2)
    if(LAUNCHER_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
