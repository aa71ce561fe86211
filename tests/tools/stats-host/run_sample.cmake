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

# With SCOREBOARD: the document the plug-in would post for the same log, read
# by libxml2's parser: its score is the summary's, its optime the operating
# time the summary gives, its bands add up to its totals.
if(SCOREBOARD)
  find_program(XMLLINT xmllint)
  if(NOT XMLLINT)
    message(FATAL_ERROR "no xmllint: run scripts/setup-deps.sh native")
  endif()
  set(document ${WORK}/scoreboard.xml)
  execute_process(
    COMMAND ${LAUNCHER} ${HOST} ${plugin_option} --dir ${WORK} --scoreboard ${document} ${LOG}
    ERROR_VARIABLE errors RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "stats-host --scoreboard exited with ${status}:\n${errors}")
  endif()
  function(xpath expression into)
    execute_process(COMMAND ${XMLLINT} --nonet --xpath "${expression}" ${document}
                    OUTPUT_VARIABLE value ERROR_VARIABLE errors RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "xmllint cannot read ${document} for ${expression}:\n${errors}")
    endif()
    string(STRIP "${value}" value)
    set(${into} "${value}" PARENT_SCOPE)
  endfunction()
  xpath("string(/dynamicresults/score)" score)
  xpath("string(/dynamicresults/optime)" optime)
  xpath("string(/dynamicresults/breakdown/qso[@band='total'])" qsos)
  xpath("sum(/dynamicresults/breakdown/qso[@band!='total'])" band_qsos)
  xpath("string(/dynamicresults/breakdown/point[@band='total'])" points)
  xpath("sum(/dynamicresults/breakdown/point[@band!='total'])" band_points)
  xpath("string(/dynamicresults/breakdown/mult[@type='wpxprefix'])" prefixes)
  file(READ ${WORK}/summary.txt summary)
  string(REGEX MATCH "Score = ([0-9]+) \\* ([0-9]+) += ([0-9]+)" _ "${summary}")
  set(summary_points ${CMAKE_MATCH_1})
  set(summary_prefixes ${CMAKE_MATCH_2})
  set(summary_score ${CMAKE_MATCH_3})
  string(REGEX MATCH "Operating time: ([0-9]+):([0-9][0-9])" _ "${summary}")
  math(EXPR summary_minutes "${CMAKE_MATCH_1} * 60 + ${CMAKE_MATCH_2}")
  string(REGEX MATCH "^([0-9]+):([0-9][0-9])$" _ "${optime}")
  if(NOT CMAKE_MATCH_0)
    message(FATAL_ERROR "optime \"${optime}\" is not hh:mm")
  endif()
  math(EXPR document_minutes "${CMAKE_MATCH_1} * 60 + ${CMAKE_MATCH_2}")
  if(NOT score STREQUAL summary_score OR NOT points STREQUAL summary_points OR
     NOT prefixes STREQUAL summary_prefixes OR NOT document_minutes EQUAL summary_minutes OR
     NOT band_qsos EQUAL qsos OR NOT band_points EQUAL points)
    file(READ ${document} text)
    message(FATAL_ERROR "the scoreboard document differs from the summary (score ${summary_score}, "
                        "points ${summary_points}, prefixes ${summary_prefixes}, operating minutes "
                        "${summary_minutes}):\n${text}")
  endif()
endif()
