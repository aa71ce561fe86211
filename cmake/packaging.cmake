# What a release holds, and `cmake --build --preset <preset> --target package`.
#   Windows presets: Stats-<version>-win32.zip / -win64.zip with Stats.dll, the
#   operator's guide README.txt, LICENSE and SHA256SUMS, nothing else.
#   native preset: `cmake --install build/native --prefix P` puts stats-host
#   and wpx-genlog in P/bin and the plug-in in P/lib/stats-host, where
#   stats-host finds it from its own place; the package target makes a .deb.

set(CPACK_PACKAGE_NAME Stats)
set(CPACK_PACKAGE_VENDOR "The Stats.dll developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CQ WPX contest statistics plug-in")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STATS_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_SOURCE_DIR}/cmake/package_time.cmake)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)

if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(STATS_PACKAGE_BITS 32)
  else()
    set(STATS_PACKAGE_BITS 64)
  endif()
  # The files beside the DLL; Windows' own tools like CR LF.
  set(stage ${CMAKE_BINARY_DIR}/package-files)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/README.txt ${stage}/README.txt @ONLY NEWLINE_STYLE CRLF)
  configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${stage}/LICENSE @ONLY NEWLINE_STYLE CRLF)
  add_custom_command(OUTPUT ${stage}/SHA256SUMS
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:Stats> ${stage}/Stats.dll
    COMMAND ${CMAKE_COMMAND} -DDIR=${stage} "-DFILES=Stats.dll;README.txt;LICENSE" -P ${PROJECT_SOURCE_DIR}/cmake/write_sums.cmake
    DEPENDS Stats ${stage}/README.txt ${stage}/LICENSE ${PROJECT_SOURCE_DIR}/cmake/write_sums.cmake
    VERBATIM)
  add_custom_target(stats_package_files ALL DEPENDS ${stage}/SHA256SUMS)
  install(FILES ${stage}/Stats.dll ${stage}/README.txt ${stage}/LICENSE ${stage}/SHA256SUMS
          DESTINATION . PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME Stats-${PROJECT_VERSION}-win${STATS_PACKAGE_BITS})
endif()

if(NOT WIN32)
  include(GNUInstallDirs)
  install(TARGETS stats-host wpx-genlog RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(TARGETS Stats LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}/stats-host)
  install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/stats-host)
  # The guides the README links to, where its links find them.
  install(FILES docs/operating.md docs/development.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/stats-host/docs)
  install(DIRECTORY examples/ DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/stats-host/examples
          PATTERN .gitattributes EXCLUDE)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME stats-host)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "CQ WPX contest scoring through the Stats plug-in, from the command line")
  set(CPACK_STRIP_FILES ON)
  set(CPACK_PACKAGE_CONTACT "The Stats.dll developers <stats-dll@users.noreply.invalid>")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, libgcc-s1")
  # The country file and the active-call list the tools read by default.
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS hamradio-files)
  set(CPACK_PACKAGE_DESCRIPTION
      "Scores a CQ WPX contest log (ADIF or Cabrillo) through the contest-statistics plug-in, as the logging program drives it; with a generator of realistic test logs.")
endif()

include(CPack)
