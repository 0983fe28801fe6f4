orlo_test(tst_capture)
orlo_test(tst_clipboardformats)
orlo_test(tst_startup_settings)
