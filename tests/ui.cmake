orlo_test(tst_mainwindow)
orlo_test(tst_watcher)
orlo_test(tst_textbrowsing)
orlo_test(tst_picturebrowsing)
