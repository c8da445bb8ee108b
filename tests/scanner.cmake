# The barcode scanner: settings dialog, reader thread on a pseudo-terminal, controller.
if(TARGET kkt_scanner)
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/tst_scanthread.cpp)
    kkt_add_test(tst_scanthread LIBS kkt_scanner)
  endif()
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/tst_scannercontrol.cpp)
    kkt_add_test(tst_scannercontrol LIBS kkt_scanner)
  endif()
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/tst_formscannersetting.cpp)
    kkt_add_test(tst_formscannersetting LIBS kkt_scanner)
  endif()
endif()

# The ThreadSanitizer build runs these with the suppressions for Qt's uninstrumented internals.
if(KKT_TSAN)
  foreach(test tst_scanthread tst_scannercontrol tst_formscannersetting)
    if(TEST ${test})
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT
        "TSAN_OPTIONS=halt_on_error=1 second_deadlock_stack=1 suppressions=${CMAKE_SOURCE_DIR}/scripts/tsan.supp")
    endif()
  endforeach()
endif()
