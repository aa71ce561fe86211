# Runs stats-host on a sample log in a fresh working directory and compares
# its standard output with the committed summary, byte for byte. LAUNCHER
# (optional) runs the program, wine64 for the Windows build.
# The summaries were made with the country file of the hamradio-files package
# (scripts/setup-deps.sh installs it), which stats-host reads by default: it
# gives the own station's country and continent.
if(NOT EXISTS /usr/share/hamradio-files/cty.dat)
  message(FATAL_ERROR "no /usr/share/hamradio-files/cty.dat: run scripts/setup-deps.sh")
endif()
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(
  COMMAND ${LAUNCHER} ${HOST} --plugin ${PLUGIN} --dir ${WORK} ${LOG}
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
