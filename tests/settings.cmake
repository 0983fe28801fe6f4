# tests of this area
orlo_test(tst_signature)
orlo_test(tst_settingsdialogs)
