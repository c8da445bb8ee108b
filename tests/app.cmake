# Tests of the application shell: main window, program settings, port search, the connection
# settings dialog, the wait and version windows, the JPEG decoder.
kkt_add_test(tst_jpegimage LIBS kkt_app)
kkt_add_test(tst_programsettings LIBS kkt_app)
kkt_add_test(tst_portsearch LIBS kkt_app kkt_emulator)
kkt_add_test(tst_formsett LIBS kkt_app kkt_emulator)
kkt_add_test(tst_formmain LIBS kkt_app kkt_emulator)
