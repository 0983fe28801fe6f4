# Bad input, faults and long runs.
orlo_test(tst_badinput TIMEOUT 300)
