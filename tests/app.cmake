orlo_test(tst_capture)
orlo_test(tst_clipboardformats)
orlo_test(tst_startup_settings)
orlo_test(tst_startup)
orlo_test(tst_singleinstance)

add_subdirectory(e2e)
