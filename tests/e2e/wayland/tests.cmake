# The program in a headless sway session (label e2e); skipped at run time
# when sway or wl-clipboard are missing. Only with the Wayland back end.
get_target_property(_orlo_definitions orlo_platform INTERFACE_COMPILE_DEFINITIONS)
if(NOT _orlo_definitions MATCHES "ORLO_WAYLAND=1")
    message(STATUS "Wayland tests: left out, no Wayland back end")
    return()
endif()

# A bare data-control owner that answers, or never does.
add_executable(dctool ${CMAKE_CURRENT_LIST_DIR}/dctool.cpp)
target_link_libraries(dctool PRIVATE orlo_platform)
orlo_warnings(dctool)

add_executable(tst_e2e_wayland ${CMAKE_CURRENT_LIST_DIR}/tst_e2e_wayland.cpp
    ${CMAKE_CURRENT_LIST_DIR}/waylandsession.h ${CMAKE_CURRENT_LIST_DIR}/waylandsession.cpp)
target_link_libraries(tst_e2e_wayland PRIVATE orlo_e2e_report Qt6::Gui Qt6::Test)
orlo_warnings(tst_e2e_wayland)
add_dependencies(tst_e2e_wayland dctool orlo-clipboard-observed)
add_test(NAME tst_e2e_wayland COMMAND tst_e2e_wayland)
set_tests_properties(tst_e2e_wayland PROPERTIES LABELS e2e TIMEOUT 180 RUN_SERIAL TRUE
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORLO_CLIPBOARD_BIN=$<TARGET_FILE:orlo-clipboard-observed>;ORLO_DCTOOL_BIN=$<TARGET_FILE:dctool>")
