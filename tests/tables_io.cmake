# The tables frame's runs against the register, the goods base file, clearing and going to an
# item.
if(NOT TARGET kkt_tables)
  return()
endif()

kkt_add_test(tst_tablecodes LIBS kkt_tables)
kkt_add_test(tst_goodsbasefile LIBS kkt_tables)
kkt_add_test(tst_tableswrite LIBS kkt_tables kkt_emulator)
kkt_add_test(tst_tablesread LIBS kkt_tables kkt_emulator)
kkt_add_test(tst_goodsactions LIBS kkt_tables kkt_emulator)
kkt_add_test(tst_tablesreadanswer LIBS kkt_tables kkt_emulator)
if(TARGET kkt_gsm)
  kkt_add_test(tst_runstop LIBS kkt_tables kkt_gsm kkt_emulator)
endif()
