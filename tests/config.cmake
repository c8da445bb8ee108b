# Tests of the configuration record and the ".conf" file.
kkt_add_test(tst_configfile LIBS kkt_config)
kkt_add_test(tst_configgrids LIBS kkt_config)
