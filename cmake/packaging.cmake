# Install rules and the packages: the four programs with the code tables beside
# them (the converter looks for its tables in its own directory), the README
# and the licence. Windows: everything in one folder, packed as a ZIP and as an
# installer (cpack -G NSIS); elsewhere a tar.gz with bin/ and share/doc/.
if(WIN32)
  set(merrowby_program_dir .)
  set(merrowby_doc_dir .)
else()
  include(GNUInstallDirs)
  set(merrowby_program_dir ${CMAKE_INSTALL_BINDIR})
  set(merrowby_doc_dir ${CMAKE_INSTALL_DOCDIR})
endif()

set(merrowby_description_tabulon "Census piece converter")
set(merrowby_description_quillet "Parameters file editor")
set(merrowby_description_tabreport "Findings page of a census piece")
set(merrowby_description_tabbatch "Converts the census pieces of a folder tree")
foreach(program tabulon quillet tabreport tabbatch)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${merrowby_program_dir})
    if(WIN32)
      # Each .exe carries the project version in its version information.
      set(merrowby_program ${program})
      set(merrowby_program_description ${merrowby_description_${program}})
      configure_file(cmake/windows/version.rc.in ${PROJECT_BINARY_DIR}/windows/${program}.rc @ONLY)
      target_sources(${program} PRIVATE ${PROJECT_BINARY_DIR}/windows/${program}.rc)
    endif()
  endif()
endforeach()
install(FILES examples/CHAP1891.TXT examples/relcodes.txt DESTINATION ${merrowby_program_dir})

if(WIN32)
  # Texts a Windows user opens by double-clicking, so named .txt and with
  # Windows line ends; check-piece.cmd is the command behind "Check with
  # Merrowby". Written again whenever cmake runs after a source changed.
  function(merrowby_windows_text source target)
    file(READ ${PROJECT_SOURCE_DIR}/${source} text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${PROJECT_BINARY_DIR}/windows/${target} "${text}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${source})
    install(FILES ${PROJECT_BINARY_DIR}/windows/${target} DESTINATION ${merrowby_doc_dir})
  endfunction()
  merrowby_windows_text(README.md README.txt)
  merrowby_windows_text(LICENSE LICENSE.txt)
  merrowby_windows_text(cmake/windows/check-piece.cmd check-piece.cmd)
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_BINARY_DIR}/windows/LICENSE.txt)
else()
  install(FILES README.md LICENSE DESTINATION ${merrowby_doc_dir})
  set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
endif()

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
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Census transcription tools: tabulon, quillet, tabreport and tabbatch")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_SYSTEM_NAME win64)
  # The installer (cpack -G NSIS): 64-bit, into Program Files\Merrowby under
  # one registry name whatever the version, so that a newer one finds the
  # older, removes it and installs in its place. The script CPack writes
  # includes merrowby.nsh, whose macros add the Start menu entries and the
  # right-click entry and take them away again. PATH is left alone
  # (CPACK_NSIS_MODIFY_PATH stays off).
  set(CPACK_PACKAGE_INSTALL_DIRECTORY Merrowby)
  set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Merrowby)
  set(CPACK_NSIS_PACKAGE_NAME "Merrowby census tools")
  set(CPACK_NSIS_DISPLAY_NAME "Merrowby census tools")
  set(CPACK_NSIS_INSTALLED_ICON_NAME tabulon.exe)
  set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
  set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
  # (CPack writes these values into its configuration unescaped: no double quotes.)
  set(CPACK_NSIS_DEFINES "Target amd64-unicode\n!include `${PROJECT_SOURCE_DIR}/cmake/windows/merrowby.nsh`")
  set(CPACK_NSIS_CREATE_ICONS_EXTRA "!insertmacro MerrowbyStartMenu")
  set(CPACK_NSIS_DELETE_ICONS_EXTRA "!insertmacro MerrowbyStartMenuRemove")
  set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro MerrowbyCheckVerb")
  set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro MerrowbyCheckVerbRemove")
  # Names the installer merrowby-<version>-windows-x64-setup.exe.
  set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/cpack_generator.cmake)
else()
  set(CPACK_GENERATOR TGZ)
endif()
include(CPack)
