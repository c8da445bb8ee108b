# The documents of the Debian package, as Debian's policy has them: the copyright file in the
# machine-readable format, the change log and a manual page for each program, compressed with
# gzip -9n (no name or time stamp inside, so a rebuild gives the same bytes).
set(_kkt_docdir ${CMAKE_INSTALL_DATADIR}/doc/kkt-programmer)
set(_kkt_generated ${CMAKE_BINARY_DIR}/packaging)

# The change log's newest entry is the project's version: a new version needs its entry.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog _kkt_head LIMIT_COUNT 1)
if(NOT _kkt_head MATCHES "^kkt-programmer \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog starts with \"${_kkt_head}\": "
                      "add an entry for version ${PROJECT_VERSION} at its top")
endif()

configure_file(${CMAKE_SOURCE_DIR}/packaging/copyright.in ${_kkt_generated}/copyright @ONLY)
install(FILES ${_kkt_generated}/copyright ${CMAKE_SOURCE_DIR}/THIRD-PARTY DESTINATION ${_kkt_docdir})

function(_kkt_gzip source output)
  add_custom_command(OUTPUT ${output}
                     COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${source} ${output}
                     DEPENDS ${source} VERBATIM)
endfunction()

_kkt_gzip(${CMAKE_SOURCE_DIR}/packaging/changelog ${_kkt_generated}/changelog.gz)
set(_kkt_docs ${_kkt_generated}/changelog.gz)
install(FILES ${_kkt_generated}/changelog.gz DESTINATION ${_kkt_docdir})

# The manual pages: kkt-cli's is written (its commands, options, exit statuses and examples);
# the other two come from their --help and --version through help2man, which runs the programs
# just built (kkt-programmer answers both without a display), in a UTF-8 locale for the
# Russian texts.
configure_file(${CMAKE_SOURCE_DIR}/packaging/kkt-cli.1.in ${_kkt_generated}/kkt-cli.1 @ONLY)
_kkt_gzip(${_kkt_generated}/kkt-cli.1 ${_kkt_generated}/kkt-cli.1.gz)
set(_kkt_pages ${_kkt_generated}/kkt-cli.1.gz)
find_program(KKT_HELP2MAN help2man)
if(KKT_HELP2MAN)
  foreach(program kkt-programmer kkt-emulator)
    set(page ${_kkt_generated}/${program}.1)
    set(include ${CMAKE_SOURCE_DIR}/packaging/${program}.h2m)
    add_custom_command(OUTPUT ${page}
                       COMMAND ${KKT_HELP2MAN} --locale=C.UTF-8 --no-info --include=${include}
                               --output=${page} $<TARGET_FILE:${program}>
                       DEPENDS ${program} ${include} VERBATIM)
    _kkt_gzip(${page} ${page}.gz)
    list(APPEND _kkt_pages ${page}.gz)
  endforeach()
else()
  message(STATUS "help2man not found: the package goes without the manual pages of "
                 "kkt-programmer and kkt-emulator")
endif()
list(APPEND _kkt_docs ${_kkt_pages})
install(FILES ${_kkt_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
add_custom_target(kkt-docs ALL DEPENDS ${_kkt_docs})
