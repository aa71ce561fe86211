# stats-host as a user meets it: bad input, skipped records, call checks, the
# HTML result, a report run, Cabrillo logs and a report's Cabrillo file read
# back, the operating time by the log's category or the one asked for. HOST,
# PLUGIN, WORK and EXAMPLES are given.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# Without CTY, no country file: entity numbers stand for countries.
function(run_host)
  cmake_parse_arguments(RUN "" "STATUS;CTY" "ARGS" ${ARGN})
  execute_process(COMMAND ${HOST} --plugin ${PLUGIN} --cty "${RUN_CTY}" ${RUN_ARGS}
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
expect("Total\t 2\t  7\t    2" out)
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

# A Cabrillo log scored with the package's country file: the own station's
# country comes from its call like every QSO's (DL1AAA 1 point, F5XYZ 1 doubled
# on 40 m, K1ZZ 3, Q1ABC in no known country 3). A line that does not read and
# the unknown country are reported; everything else is scored.
set(cty /usr/share/hamradio-files/cty.dat)
set(cabrillo "START-OF-LOG: 3.0\nCALLSIGN: DL5CW\nCONTEST: CQ-WPX-SSB\n"
  "QSO: 14025 CW 2023-05-27 1000 DL5CW 599 001 DL1AAA 599 011\n"
  "QSO:  7015 CW 2023-05-27 1001 DL5CW 599 002 F5XYZ  599 012\n"
  "QSO: 21025 CW 2023-05-27 1002 DL5CW 599 003 K1ZZ   599 013\n"
  "QSO: 14025 CW 2023-05-27 1003 DL5CW 599 004 G4ABC  599\n"
  "QSO: 14026 CW 2023-05-27 1004 DL5CW 599 005 Q1ABC  599 014\n")
file(WRITE ${WORK}/log.cbr ${cabrillo} "END-OF-LOG:\n")
run_host(STATUS 0 CTY ${cty} ARGS --dir ${WORK}/cbr ${WORK}/log.cbr)
expect("log.cbr: line 7 skipped: 9 fields, too few" err)
expect("log.cbr: line 8: no country for Q1ABC in the country file" err)
expect("CQ-WPX-SSB Contest" out)  # the CONTEST line, though the QSOs are CW
expect("Total\t 4\t  9\t" out)
expect("\nLast QSO: 3 points\n\nOperating time: 0:04 of 36:00 (single-op), 0 off-times, 0:00 off\n" out)
run_host(STATUS 0 CTY ${cty} ARGS --cw --dir ${WORK}/cbr-cw ${WORK}/log.cbr)
expect("CQ-WPX-CW Contest" out)

# The category from the header, and --category over it. The Classic overlay
# belongs to single operators: a multi-op log that names it has no limit.
string(REPLACE "CONTEST: CQ-WPX-SSB\n" "CONTEST: CQ-WPX-SSB\nCATEGORY-OPERATOR: MULTI-OP\nCATEGORY-OVERLAY: CLASSIC\n"
       multi "${cabrillo}")
file(WRITE ${WORK}/multi.cbr ${multi} "END-OF-LOG:\n")
run_host(STATUS 0 CTY ${cty} ARGS --dir ${WORK}/multi ${WORK}/multi.cbr)
expect("\nOperating time: 0:04 (multi-op, no limit), 0 off-times, 0:00 off\n" out)
string(REPLACE "MULTI-OP" "SINGLE-OP" classic "${multi}")
file(WRITE ${WORK}/classic.cbr ${classic} "END-OF-LOG:\n")
run_host(STATUS 0 CTY ${cty} ARGS --dir ${WORK}/classic ${WORK}/classic.cbr)
expect("\nOperating time: 0:04 of 24:00 (classic), 0 off-times, 0:00 off\n" out)
run_host(STATUS 0 CTY ${cty} ARGS --category single --dir ${WORK}/classic ${WORK}/classic.cbr)
expect("\nOperating time: 0:04 of 36:00 (single-op), 0 off-times, 0:00 off\n" out)
run_host(STATUS 0 CTY ${cty} ARGS --category classic --dir ${WORK}/multi ${WORK}/multi.cbr)
expect("\nOperating time: 0:04 of 24:00 (classic), 0 off-times, 0:00 off\n" out)
run_host(STATUS 2 ARGS --category multi-op ${WORK}/multi.cbr)
expect("--category takes single, classic or multi" err)

# Cut short, it is not scored at all.
file(WRITE ${WORK}/cut.cbr ${cabrillo})
run_host(STATUS 2 CTY ${cty} ARGS --dir ${WORK}/cut ${WORK}/cut.cbr)
expect("cut.cbr: line 8: the log ends without END-OF-LOG:" err)
if(EXISTS ${WORK}/cut)
  message(FATAL_ERROR "the plug-in ran on a log cut short")
endif()

# The Cabrillo file of a report run, read back, scores as the log did. The
# seconds it drops can move the rates, and it lists only the QSOs the plug-in
# logged, so the bad-QSO count is not in it, nor the rejected QSOs past the
# operating-time limit.
foreach(sample wpx-cw-sample wpx-ssb-sample)
  run_host(STATUS 0 CTY ${cty} ARGS --dir ${WORK}/${sample} ${EXAMPLES}/${sample}.adi)
  set(original "${out}")
  run_host(STATUS 0 CTY ${cty} ARGS --report --dir ${WORK}/${sample}-report ${EXAMPLES}/${sample}.adi)
  file(GLOB written ${WORK}/${sample}-report/*.cbr)
  run_host(STATUS 0 CTY ${cty} ARGS --dir ${WORK}/${sample}-back ${written})
  foreach(summary original out)
    string(REGEX REPLACE "[^\n]*(rate:|Bad QSO|Past the limit)[^\n]*" "" ${summary} "${${summary}}")
  endforeach()
  if(NOT out STREQUAL original)
    message(FATAL_ERROR "${written} read back:\n${out}\nthe log:\n${original}")
  endif()
endforeach()
