# Tests of the register tables frame and the shared string grid.
kkt_add_test(tst_stringgrid LIBS kkt_platform_ui)
kkt_add_test(tst_cellfilters LIBS kkt_tables)
kkt_add_test(tst_framesetz48 LIBS kkt_tables)
kkt_add_test(tst_framesetz48editing LIBS kkt_tables)
kkt_add_test(tst_tableruns DIR tables CORE LIBS kkt_tables kkt_emulator)
