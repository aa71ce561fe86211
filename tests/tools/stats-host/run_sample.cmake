# Runs stats-host on a sample log in a fresh working directory and compares
# its standard output with the committed summary, byte for byte. LAUNCHER
# (optional) runs the program, wine64 for the Windows build. With INSTALL_FROM
# (a build folder) the build is installed into WORK/prefix first and the
# installed stats-host runs, finding its plug-in from its own place.
# The summaries were made with the country file of the hamradio-files package
# (scripts/setup-deps.sh native installs it), which stats-host reads by default: it
# gives the own station's country and continent.
if(NOT EXISTS /usr/share/hamradio-files/cty.dat)
  message(FATAL_ERROR "no /usr/share/hamradio-files/cty.dat: run scripts/setup-deps.sh native")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(plugin_option --plugin ${PLUGIN})
if(INSTALL_FROM)
  execute_process(COMMAND ${CMAKE_COMMAND} --install ${INSTALL_FROM} --prefix ${WORK}/prefix
                  OUTPUT_QUIET ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${errors}")
  endif()
  set(HOST ${WORK}/prefix/bin/stats-host)
  set(plugin_option)
endif()
execute_process(
  COMMAND ${LAUNCHER} ${HOST} ${plugin_option} --dir ${WORK} ${LOG}
  OUTPUT_FILE ${WORK}/summary.txt
  ERROR_VARIABLE errors
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "stats-host exited with ${status}:\n${errors}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/summary.txt ${EXPECTED} RESULT_VARIABLE differ)
if(differ)
  file(READ ${WORK}/summary.txt actual)
  file(READ ${EXPECTED} expected)
  message(FATAL_ERROR "the summary differs from ${EXPECTED}\n--- actual:\n${actual}\n--- expected:\n${expected}")
endif()
