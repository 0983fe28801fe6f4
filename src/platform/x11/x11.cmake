# The X11 clipboard watcher, built in on Linux when xcb and its XFixes
# extension are to be had (Debian: libxcb-xfixes0-dev); without it the
# toolkit's clipboard is used on X11 too.
#
#   include(src/platform/x11/x11.cmake)
#   orlo_add_x11(<target>)

set(ORLO_X11_DIR "${CMAKE_CURRENT_LIST_DIR}")

function(orlo_add_x11 target)
    if(WIN32 OR APPLE)
        return()
    endif()
    find_package(PkgConfig QUIET)
    if(PKG_CONFIG_FOUND AND NOT TARGET PkgConfig::OrloXcb)
        pkg_check_modules(OrloXcb QUIET IMPORTED_TARGET GLOBAL xcb xcb-xfixes)
    endif()
    if(NOT TARGET PkgConfig::OrloXcb)
        message(STATUS "X11 clipboard watcher: left out, xcb-xfixes not found "
                       "(Debian: libxcb-xfixes0-dev)")
        return()
    endif()
    set(dir "${ORLO_X11_DIR}")
    target_sources(${target} PRIVATE
        "${dir}/connection.h" "${dir}/connection.cpp"
        "${dir}/keygrab.h" "${dir}/keygrab.cpp"
        "${dir}/transfer.h" "${dir}/transfer.cpp"
        "${dir}/transferstate.h" "${dir}/transferstate.cpp"
        "${dir}/watcher.h" "${dir}/watcher.cpp"
        "${dir}/x11clipboard.h" "${dir}/x11clipboard.cpp")
    target_link_libraries(${target} PUBLIC PkgConfig::OrloXcb)
    target_compile_definitions(${target} PUBLIC ORLO_X11=1)
    message(STATUS "X11 clipboard watcher: built in")
endfunction()
