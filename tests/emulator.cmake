# The cash register emulator: protocol engine, framing and faults; pseudo-terminal and program.
if(TARGET kkt_emulator)
  kkt_add_test(tst_emulator LIBS kkt_emulator)
  kkt_add_test(tst_emulatorpty LIBS kkt_emulator)
  if(TARGET kkt-emulator)
    add_dependencies(tst_emulatorpty kkt-emulator)
    target_compile_definitions(tst_emulatorpty PRIVATE
      KKT_EMULATOR_PROGRAM="$<TARGET_FILE:kkt-emulator>")
  endif()
endif()
