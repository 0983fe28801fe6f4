add_executable(bench_capture bench_capture.cpp benchutil.h)
target_link_libraries(bench_capture PRIVATE orlo_core)
orlo_warnings(bench_capture)
