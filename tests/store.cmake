# tests of this area
orlo_test(tst_datafiles)
orlo_test(tst_savecommands)
