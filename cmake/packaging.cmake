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

# The browser edition, built apart with emscripten (cmake --preset web): packed
# when it has been built, beside the programs on Windows and in share/merrowby
# elsewhere.
set(MERROWBY_WEB_PAGE "${PROJECT_SOURCE_DIR}/build-web/src/web/merrowby.html" CACHE FILEPATH
    "merrowby.html to pack, when it exists")
if(WIN32)
  set(merrowby_web_dir .)
else()
  set(merrowby_web_dir ${CMAKE_INSTALL_DATADIR}/merrowby)
endif()
install(FILES ${MERROWBY_WEB_PAGE} DESTINATION ${merrowby_web_dir} OPTIONAL)

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
