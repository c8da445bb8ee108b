# Device link: frames and request layouts, device text, the commands against the emulator.
kkt_add_test(tst_deviceframe LIBS kkt_devicelink)
kkt_add_test(tst_devicetext LIBS kkt_devicelink)
kkt_add_test(tst_devicecommands LIBS kkt_devicelink kkt_emulator)
kkt_add_test(tst_serialline LIBS kkt_devicelink)
