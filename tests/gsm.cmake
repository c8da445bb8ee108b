# GSM parameters: the row table and key filter, the connection test, the frame against the emulator.
kkt_add_test(tst_serverconnect LIBS kkt_gsm)
kkt_add_test(tst_gsmframe LIBS kkt_gsm kkt_emulator)
kkt_add_test(tst_gsmruns DIR gsm CORE LIBS kkt_gsm kkt_emulator)
