# Install rules and the packaged archive: the three programs with the code tables
# beside them (the converter looks for its tables in its own directory) and
# the README. Windows: a ZIP with everything in one folder; elsewhere a
# tar.gz with bin/ and share/doc/.
if(WIN32)
  set(merrowby_program_dir .)
  set(merrowby_doc_dir .)
else()
  include(GNUInstallDirs)
  set(merrowby_program_dir ${CMAKE_INSTALL_BINDIR})
  set(merrowby_doc_dir ${CMAKE_INSTALL_DOCDIR})
endif()

foreach(program tabulon quillet tabreport tabbatch)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${merrowby_program_dir})
  endif()
endforeach()
install(FILES examples/CHAP1891.TXT examples/relcodes.txt DESTINATION ${merrowby_program_dir})
install(FILES README.md DESTINATION ${merrowby_doc_dir})

set(CPACK_PACKAGE_NAME merrowby)
set(CPACK_PACKAGE_VENDOR "Merrowby")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Census transcription tools: tabulon, quillet and tabreport")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
