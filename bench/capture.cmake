add_executable(bench_capture bench_capture.cpp benchutil.h)
target_link_libraries(bench_capture PRIVATE orlo_app orlo_testsupport)
target_compile_definitions(bench_capture PRIVATE ORLO_PROGRAM="$<TARGET_FILE:orlo-clipboard>")
add_dependencies(bench_capture orlo-clipboard)
orlo_warnings(bench_capture)

# The burst's baseline: a raw xcb listener (the one program the X11 watcher's
# library gives it: xcb with XFixes).
if(TARGET PkgConfig::OrloXcb)
    add_executable(xcbwatch xcbwatch.cpp)
    target_link_libraries(xcbwatch PRIVATE PkgConfig::OrloXcb)
    orlo_warnings(xcbwatch)
    add_dependencies(bench_capture xcbwatch)
    target_compile_definitions(bench_capture PRIVATE ORLO_XCBWATCH="$<TARGET_FILE:xcbwatch>")
endif()

add_executable(bench_process bench_process.cpp benchutil.h)
target_link_libraries(bench_process PRIVATE Qt6::Gui)
target_compile_definitions(bench_process PRIVATE ORLO_PROGRAM="$<TARGET_FILE:orlo-clipboard>")
add_dependencies(bench_process orlo-clipboard)
orlo_warnings(bench_process)
