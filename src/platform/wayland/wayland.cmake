# The Wayland clipboard back end (data-control), built in when libwayland's
# client library and wayland-scanner are to be had.
#
#   include(src/platform/wayland/wayland.cmake)
#   orlo_add_wayland(<target>)
#
# adds the back end's sources and the generated protocol code to <target>,
# links libwayland-client and defines ORLO_WAYLAND=1 for it and its users.

set(ORLO_WAYLAND_DIR "${CMAKE_CURRENT_LIST_DIR}")
option(ORLO_WAYLAND "Build the Wayland clipboard back end when its tools are found" ON)

function(orlo_add_wayland target)
    if(NOT ORLO_WAYLAND)
        message(STATUS "Wayland clipboard: turned off (ORLO_WAYLAND)")
        return()
    endif()
    if(WIN32 OR APPLE)
        return()
    endif()
    find_package(PkgConfig QUIET)
    if(NOT PKG_CONFIG_FOUND)
        message(STATUS "Wayland clipboard: left out, pkg-config not found")
        return()
    endif()
    if(NOT TARGET PkgConfig::OrloWaylandClient)
        pkg_check_modules(OrloWaylandClient QUIET IMPORTED_TARGET GLOBAL wayland-client>=1.20)
    endif()
    if(NOT TARGET PkgConfig::OrloWaylandClient)
        message(STATUS "Wayland clipboard: left out, wayland-client >= 1.20 not found "
                       "(Debian: libwayland-dev)")
        return()
    endif()
    pkg_get_variable(scanner_from_pc wayland-scanner wayland_scanner)
    find_program(WAYLAND_SCANNER NAMES wayland-scanner HINTS "${scanner_from_pc}")
    if(NOT WAYLAND_SCANNER)
        message(STATUS "Wayland clipboard: left out, wayland-scanner not found "
                       "(Debian: libwayland-bin)")
        return()
    endif()

    # The interfaces as bound here (version 1 of each), whatever the system has.
    set(ext_xml "${ORLO_WAYLAND_DIR}/protocols/ext-data-control-v1.xml")
    set(wlr_xml "${ORLO_WAYLAND_DIR}/protocols/wlr-data-control-unstable-v1.xml")

    set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}-wayland")
    file(MAKE_DIRECTORY "${out}")
    set(generated)
    foreach(xml IN ITEMS "${ext_xml}" "${wlr_xml}")
        get_filename_component(name "${xml}" NAME_WE)
        add_custom_command(
            OUTPUT "${out}/${name}-client.h" "${out}/${name}-code.c"
            COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${out}/${name}-client.h"
            COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${out}/${name}-code.c"
            DEPENDS "${xml}"
            COMMENT "Generating Wayland code for ${name}"
            VERBATIM)
        list(APPEND generated "${out}/${name}-client.h" "${out}/${name}-code.c")
    endforeach()
    # The tables are compiled inside protocol.cpp, as C++.
    set_source_files_properties(${generated} PROPERTIES HEADER_FILE_ONLY TRUE)

    set(dir "${ORLO_WAYLAND_DIR}")
    target_sources(${target} PRIVATE
        ${generated}
        "${dir}/protocol.h" "${dir}/protocol.cpp"
        "${dir}/connection.h" "${dir}/connection.cpp"
        "${dir}/pipes.h" "${dir}/pipes.cpp"
        "${dir}/watcher.h" "${dir}/watcher.cpp"
        "${dir}/dataclipboard.h" "${dir}/dataclipboard.cpp")
    target_include_directories(${target} PRIVATE "${out}")
    target_link_libraries(${target} PUBLIC PkgConfig::OrloWaylandClient)
    target_compile_definitions(${target} PUBLIC ORLO_WAYLAND=1)
    message(STATUS "Wayland clipboard: built in")
endfunction()
