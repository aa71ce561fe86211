# stats-host as a user meets it: bad input, skipped records, call checks, the
# HTML result and a report run. HOST, PLUGIN and WORK are given.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run_host)
  cmake_parse_arguments(RUN "" "STATUS" "ARGS" ${ARGN})
  execute_process(COMMAND ${HOST} --plugin ${PLUGIN} --cty "" ${RUN_ARGS}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL RUN_STATUS)
    message(FATAL_ERROR "stats-host ${RUN_ARGS}: status ${status}, expected ${RUN_STATUS}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect text what)
  string(FIND "${${what}}" "${text}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected \"${text}\" in ${what}:\n${${what}}")
  endif()
endfunction()

set(qso1 "<CALL:6>DL1AAA<QSO_DATE:8>20230527<TIME_ON:4>1000<FREQ:6>14.025<MODE:2>CW<RST_SENT:3>599<RST_RCVD:3>599<STX:1>1<SRX:2>15<DXCC:3>230<CONT:2>EU<EOR>\n")
set(qso3 "<CALL:4>K1ZZ<QSO_DATE:8>20230527<TIME_ON:4>1030<FREQ:5>7.015<MODE:2>CW<RST_SENT:3>599<RST_RCVD:3>599<STX:1>2<SRX:3>100<DXCC:3>291<CONT:2>NA<EOR>\n")

# A malformed date: status 2, and the message names file, record and field.
file(WRITE ${WORK}/bad.adi "<EOH>\n${qso1}<CALL:4>K1ZZ<QSO_DATE:8>2023-5-2<TIME_ON:4>1030<EOR>\n")
run_host(STATUS 2 ARGS ${WORK}/bad.adi)
expect("bad.adi: record 2, field QSO_DATE: \"2023-5-2\" is not a date YYYYMMDD" err)
run_host(STATUS 2 ARGS --check K1ZZ ${WORK}/bad.adi)
expect("--check K1ZZ needs --band and --mode" err)
run_host(STATUS 2 ARGS ${WORK}/missing.adi)
expect("cannot open the file" err)

# A record without a call is reported and skipped; the others are scored.
file(WRITE ${WORK}/log.adi "<EOH>\n${qso1}<QSO_DATE:8>20230527<TIME_ON:4>1020<EOR>\n${qso3}")
run_host(STATUS 0 ARGS --call UA3ABC --country 54 --continent EU --contest cw --dir ${WORK}/run
         --check K1ZZ --band 40m --mode CW --check JA1XX --band 20m --mode CW --prefix JA1 --country 339
         --check K1ZZ --band 30m --mode CW ${WORK}/log.adi)
expect("log.adi: record 2 skipped: no CALL" err)
expect("CQ-WPX-CW Contest 27.05-27.05.2023" out)
expect("Contestant: UA3ABC" out)
expect("Total\t 2\t  8\t    2" out)
expect("K1ZZ 40m CW: 0 dupe\nJA1XX 20m CW: 2 new prefix\nK1ZZ 30m CW: 4 not valid here\n" out)
if(NOT EXISTS ${WORK}/run/BadQSO_StatsWPXCW_27_05_2023.txt)
  message(FATAL_ERROR "no bad-QSO file in the working directory")
endif()

# The HTML result, and a report run that writes the Cabrillo log.
run_host(STATUS 0 ARGS --html --dir ${WORK}/html ${WORK}/log.adi)
expect("<html><head>" out)
run_host(STATUS 0 ARGS --report --call UA3ABC --dir ${WORK}/report ${WORK}/log.adi)
expect("File produced: UA3ABC.cbr" err)
file(READ ${WORK}/report/UA3ABC.cbr cabrillo)
expect("QSO:  7015 CW 2023-05-27 1030 UA3ABC        599 2      K1ZZ" cabrillo)
