# Bad input, faults and long runs.
orlo_test(tst_badinput TIMEOUT 300)

# A short bounded fuzzing run of the data file encoder and the removal rule
# (tests/fuzz/run.sh runs longer ones). Needs clang with libFuzzer.
find_program(ORLO_CLANGXX NAMES clang++ clang++-14)
if(ORLO_CLANGXX)
    add_test(NAME fuzz_short COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/fuzz/run.sh 15)
    set_tests_properties(fuzz_short PROPERTIES TIMEOUT 600
        ENVIRONMENT "ORLO_FUZZ_BUILD=${CMAKE_BINARY_DIR}/fuzz")
endif()

# Clipboard text that cannot be had, broken data folders, a save cut short.
orlo_test(tst_faults TIMEOUT 300)

# 100 MB of text captured, edited, saved and deleted; prints how long the
# event loop stood still.
orlo_test(tst_largetext TIMEOUT 300)
