# Tests of the platform stand-ins: code page, INI files, message boxes and file dialogs.
kkt_add_test(tst_win1251 LIBS kkt_platform)
kkt_add_test(tst_inidocument LIBS kkt_platform)
kkt_add_test(tst_privateprofile LIBS kkt_platform)
kkt_add_test(tst_dialogs LIBS kkt_platform_ui)
kkt_add_test(tst_appfolder LIBS kkt_platform)
kkt_add_test(tst_programstyle LIBS kkt_platform_ui)
