add_executable(bench_capture bench_capture.cpp benchutil.h)
target_link_libraries(bench_capture PRIVATE orlo_app orlo_testsupport)
orlo_warnings(bench_capture)

add_executable(bench_process bench_process.cpp benchutil.h)
target_link_libraries(bench_process PRIVATE Qt6::Gui)
target_compile_definitions(bench_process PRIVATE ORLO_PROGRAM="$<TARGET_FILE:orlo-clipboard>")
add_dependencies(bench_process orlo-clipboard)
orlo_warnings(bench_process)
