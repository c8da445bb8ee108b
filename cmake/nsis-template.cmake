# The installer's own questions in Russian, as all its pages are: CPack's NSIS template with its
# two fixed English messages (whether to remove an installed version first, and that removing it
# failed) in Russian. CPack looks for the template in CPACK_MODULE_PATH before its own.
set(_kkt_template ${CMAKE_ROOT}/Modules/Internal/CPack/NSIS.template.in)
file(READ ${_kkt_template} _kkt_text)
set(_kkt_messages
    [=[@CPACK_NSIS_PACKAGE_NAME@ is already installed. $\n$\nDo you want to uninstall the old version before installing the new one?]=]
    [=[Программа «@CPACK_NSIS_PACKAGE_NAME@» уже установлена.$\n$\nУдалить прежнюю версию перед установкой новой? («Нет» - установить поверх неё)]=]
    [=["Uninstall failed."]=]
    [=["Не удалось удалить прежнюю версию."]=])
set(_kkt_all_found TRUE)
while(_kkt_messages)
  list(POP_FRONT _kkt_messages _kkt_english _kkt_russian)
  string(FIND "${_kkt_text}" "${_kkt_english}" _kkt_at)
  if(_kkt_at EQUAL -1)
    set(_kkt_all_found FALSE)
  endif()
  string(REPLACE "${_kkt_english}" "${_kkt_russian}" _kkt_text "${_kkt_text}")
endwhile()
if(_kkt_all_found)
  file(WRITE ${CMAKE_BINARY_DIR}/nsis-template/NSIS.template.in "${_kkt_text}")
  set(CPACK_MODULE_PATH ${CMAKE_BINARY_DIR}/nsis-template ${CMAKE_MODULE_PATH})
else()
  message(WARNING "CMake's NSIS template (${_kkt_template}) has other messages than expected: "
                  "the installer keeps CPack's English ones")
endif()
