# stats-host --audit on small hand-made Cabrillo logs. HOST, PLUGIN, WORK and
# CASE are given; the country file is the package's. Each CASE is one kind of
# finding, its line and its cost (points from the plug-in: 3 for a QSO with
# another continent, doubled on 40 and 80 m; 1 with the own continent), and
# the summary where it shows the rule at work:
#   across         two logs that worked each other: a serial mismatch, a QSO
#                  not in the other log, a busted call, each proven; the floor
#                  and the expected score with penalties
#   band-changes   multi-two (9 changes in a clock hour) and multi-single (a
#                  band left within 10 minutes; a prefix already worked on the
#                  multiplier transmitter)
#   past-the-limit a Classic entry's QSOs after 24 hours of operating time
#   serials        a serial too high for the time since the contest began;
#                  none for numbers that a per-band station could have sent
#   calls          a call not in the list of active calls, worked once: likely
#                  busted with a call one edit away worked near it, else kept
#   refused        logs of two contests; a log of which nothing can be scored
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

# No list of active calls but where a case names one.
set(active_calls "")
function(audit status)
  execute_process(COMMAND ${HOST} --plugin ${PLUGIN} --dir ${WORK}/run --calls "${active_calls}" ${ARGN}
    WORKING_DIRECTORY ${WORK} OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE got)
  if(NOT got EQUAL status)
    message(FATAL_ERROR "stats-host ${ARGN}: status ${got}, expected ${status}\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

# Each expected line is in the report, whole.
function(expect_lines)
  foreach(expected IN LISTS ARGN)
    string(FIND "\n${out}" "\n${expected}\n" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected the line\n${expected}\nin the report:\n${out}")
    endif()
  endforeach()
endfunction()

function(expect_count kind n)
  string(REGEX MATCHALL "(^|\n)${kind}\t" found "${out}")
  list(LENGTH found count)
  if(NOT count EQUAL n)
    message(FATAL_ERROR "expected ${n} lines of ${kind}, found ${count}:\n${out}")
  endif()
endfunction()

function(cabrillo file call)
  cmake_parse_arguments(LOG "" "" "HEADER;QSOS" ${ARGN})
  set(text "START-OF-LOG: 3.0\nCALLSIGN: ${call}\nCONTEST: CQ-WPX-CW\n")
  foreach(line IN LISTS LOG_HEADER)
    string(APPEND text "${line}\n")
  endforeach()
  foreach(line IN LISTS LOG_QSOS)
    string(APPEND text "QSO: ${line}\n")
  endforeach()
  file(WRITE ${WORK}/${file} "${text}END-OF-LOG:\n")
endfunction()

# Tabs in the expected lines.
set(T "\t")

if(CASE STREQUAL "across")
  cabrillo(a.log DL1AAA HEADER "CATEGORY-OPERATOR: SINGLE-OP" "CLAIMED-SCORE: 69" QSOS
    "14025 CW 2025-05-31 1000 DL1AAA 599 001 K1ZZ 599 010"
    " 7025 CW 2025-05-31 1010 DL1AAA 599 002 K1ZZ 599 021"
    "21025 CW 2025-05-31 1020 DL1AAA 599 003 K1ZZ 599 030"
    "28025 CW 2025-05-31 1030 DL1AAA 599 004 K1ZX 599 040"
    " 3525 CW 2025-05-31 1040 DL1AAA 599 005 ON4XYZ 599 100"
    " 7030 CW 2025-05-31 1050 DL1AAA 599 006 JA1ABC 599 200")
  # K1ZZ's clock two minutes off; its 40 m serial sent is not the one received.
  cabrillo(b.log K1ZZ HEADER "CATEGORY-OPERATOR: SINGLE-OP" QSOS
    "14025 CW 2025-05-31 1002 K1ZZ 599 010 DL1AAA 599 001"
    " 7025 CW 2025-05-31 1010 K1ZZ 599 012 DL1AAA 599 002"
    "28025 CW 2025-05-31 1031 K1ZZ 599 040 DL1AAA 599 004")
  audit(0 --audit a.log b.log)
  expect_lines(
    "serial mismatch${T}a.log${T}line 7${T}2025-05-31 1010${T}40m${T}K1ZZ${T}QSOs 1${T}points -6${T}prefixes 0${T}received 021 where b.log sent 012 (line 6, 1010)${T}proven"
    "not in log${T}a.log${T}line 8${T}2025-05-31 1020${T}15m${T}K1ZZ${T}QSOs 1${T}points -6${T}prefixes 0${T}no QSO with DL1AAA on 15m within 5 minutes in b.log${T}proven"
    "busted call${T}a.log${T}line 9${T}2025-05-31 1030${T}10m${T}K1ZX${T}QSOs 1${T}points -6${T}prefixes 0${T}b.log (K1ZZ) has a QSO with DL1AAA on 10m at 1031 (line 7) that matches nothing else${T}proven"
    "claimed${T}a.log${T}score 69${T}the plug-in's${T}QSOs 6${T}points 23${T}prefixes 3${T}score 69"
    "at risk${T}a.log${T}not in log${T}QSOs 1${T}points -6${T}prefixes 0${T}score 51${T}penalties 3"
    # Every finding proven by the other log: checking is expected to take them all.
    "expected after checking${T}a.log${T}QSOs 3${T}points -18${T}prefixes 0${T}score 15${T}penalties 6${T}the score once the proven findings and the likely busts went, with their penalties"
    # 23 points less 6 + 3 + 3 for the QSOs and 3 + 3 in penalties, times 3.
    "floor${T}a.log${T}QSOs 3${T}points -18${T}prefixes 0${T}score 15${T}penalties 6${T}the score if every flagged QSO went, with its penalties"
    # K1ZZ's side: all three matched, nothing at risk.
    "floor${T}b.log${T}QSOs 0${T}points 0${T}prefixes 0${T}score 12${T}penalties 0${T}the score if every flagged QSO went, with its penalties")
  # Once for both logs.
  string(FIND "\n${out}" "\nnote${T}read-only: " first)
  string(FIND "\n${out}" "\nnote${T}read-only: " last REVERSE)
  string(FIND "${out}" "the rules forbid correcting a log from databases after the contest\n" why)
  if(first EQUAL -1 OR NOT first EQUAL last OR why EQUAL -1)
    message(FATAL_ERROR "expected the read-only line once:\n${out}")
  endif()
elseif(CASE STREQUAL "band-changes")
  # Transmitter 0 between 20 and 40 m every minute from 14:00: its ninth
  # change, at 14:09, and its QSOs to 14:59 go; at 15:00 it may change again.
  set(qsos)
  foreach(i RANGE 0 9)
    math(EXPR odd "${i} % 2")
    if(odd)
      set(f " 7025")
    else()
      set(f "14025")
    endif()
    math(EXPR n "${i} + 1")
    list(APPEND qsos "${f} CW 2025-05-31 140${i} DL0M2 599 ${n} K${i}AB 599 ${n}0 0")
  endforeach()
  list(APPEND qsos " 7025 CW 2025-05-31 1430 DL0M2 599 11 W1AB 599 110 0"
                   "21025 CW 2025-05-31 1410 DL0M2 599 1 JA1AA 599 11 1"
                   "14025 CW 2025-05-31 1500 DL0M2 599 12 W2AB 599 120 0")
  cabrillo(m2.log DL0M2 HEADER "CATEGORY-OPERATOR: MULTI-OP" "CATEGORY-TRANSMITTER: TWO" QSOS ${qsos})
  audit(0 --audit m2.log)
  expect_lines(
    "band changes${T}m2.log${T}line 15${T}2025-05-31 1409${T}40m${T}K9AB${T}QSOs 2${T}points -12${T}prefixes -2${T}transmitter 0: 9 band changes in the hour 1400-1459 (8 allowed): its QSOs from the change past the limit to the hour's end go${T}proven")
  expect_count("band changes" 1)

  cabrillo(ms.log DL0MS HEADER "CATEGORY-OPERATOR: MULTI-OP" "CATEGORY-TRANSMITTER: ONE" QSOS
    "14025 CW 2025-05-31 1000 DL0MS 599 1 K1AB 599 101 0"
    " 7025 CW 2025-05-31 1002 DL0MS 599 2 JA1AA 599 102 1"
    "14025 CW 2025-05-31 1004 DL0MS 599 3 K2AB 599 103 0"
    "21025 CW 2025-05-31 1005 DL0MS 599 4 VK2AA 599 104 1"
    "14025 CW 2025-05-31 1008 DL0MS 599 5 K3AB 599 105 0"
    " 7025 CW 2025-05-31 1020 DL0MS 599 6 K1XY 599 106 1")
  audit(0 --audit ms.log)
  expect_lines(
    "band changes${T}ms.log${T}line 9${T}2025-05-31 1005${T}15m${T}VK2AA${T}QSOs 1${T}points -3${T}prefixes -1${T}transmitter 1: on another band within 10 minutes of its first QSO on 40m at 1002: its QSOs elsewhere before 1012 go${T}proven"
    "band changes${T}ms.log${T}line 11${T}2025-05-31 1020${T}40m${T}K1XY${T}QSOs 1${T}points -6${T}prefixes 0${T}multiplier transmitter 1: a prefix the station had already worked (the multiplier transmitter works new prefixes only)${T}proven")
  expect_count("band changes" 2)
elseif(CASE STREQUAL "past-the-limit")
  # A QSO every 50 minutes from Saturday 00:00: the 24 hours of a Classic
  # entry end at 00:00 on Sunday (the 29th QSO, 23:20, is within).
  set(qsos)
  foreach(i RANGE 0 30)
    math(EXPR minute "${i} * 50")
    math(EXPR hour "${minute} % 1440 / 60")
    math(EXPR min "${minute} % 60")
    if(minute LESS 1440)
      set(date "05-31")
    else()
      set(date "06-01")
    endif()
    foreach(v hour min)
      if(${v} LESS 10)
        set(${v} "0${${v}}")
      endif()
    endforeach()
    list(APPEND qsos "14025 CW 2025-${date} ${hour}${min} DL1CL 599 ${i} W${i}AA 599 ${i}")
  endforeach()
  cabrillo(classic.log DL1CL HEADER "CATEGORY-OPERATOR: SINGLE-OP" "CATEGORY-OVERLAY: CLASSIC" QSOS ${qsos})
  audit(0 --audit classic.log)
  expect_lines(
    "past the limit${T}classic.log${T}line 35${T}2025-06-01 0010${T}20m${T}W29AA${T}QSOs 2${T}points -6${T}prefixes -2${T}classic operating time (off-times of 60 minutes or more not counted) reached its 24 hours at 2025-06-01 0000: every QSO from then on goes, the last at 2025-06-01 0100${T}proven")
  # The same log entered single-op: 36 hours, not reached.
  audit(0 --audit --category single classic.log)
  expect_count("past the limit" 0)
elseif(CASE STREQUAL "serials")
  # W1AW's 500 at 00:10 is more than ten minutes of QSOs. K1ZZ's 50 after 150
  # on another band could be a per-band station's number, as N2AA's 90 after
  # 300: neither is flagged.
  cabrillo(s.log DL1SE HEADER "CATEGORY-OPERATOR: SINGLE-OP" QSOS
    "14025 CW 2025-05-31 1000 DL1SE 599 1 K1ZZ 599 100"
    " 7025 CW 2025-05-31 1100 DL1SE 599 2 K1ZZ 599 150"
    "21025 CW 2025-05-31 1200 DL1SE 599 3 K1ZZ 599 50"
    "28025 CW 2025-05-31 1300 DL1SE 599 4 K1ZZ 599 250"
    "14025 CW 2025-05-31 0010 DL1SE 599 5 W1AW 599 500"
    "14025 CW 2025-05-31 1010 DL1SE 599 6 N2AA 599 300"
    "21025 CW 2025-05-31 1020 DL1SE 599 7 N2AA 599 90")
  audit(0 --audit s.log)
  expect_lines(
    "serial out of sequence${T}s.log${T}line 9${T}2025-05-31 0010${T}20m${T}W1AW${T}QSOs 1${T}points -3${T}prefixes -1${T}received 500, 10 minutes into the contest: more than a station works in that time${T}likely busted")
  expect_count("serial out of sequence" 1)
elseif(CASE STREQUAL "calls")
  file(WRITE ${WORK}/calls.txt "# active calls\nK1ZZ\nW1AW\n")
  cabrillo(c.log DL1CC HEADER "CATEGORY-OPERATOR: SINGLE-OP" QSOS
    "14025 CW 2025-05-31 1000 DL1CC 599 1 K1ZZ 599 100"
    "14025 CW 2025-05-31 1001 DL1CC 599 2 W1AW/P 599 100"
    "14025 CW 2025-05-31 1002 DL1CC 599 3 K1ZY 599 200"
    "14025 CW 2025-05-31 1003 DL1CC 599 4 W9XYZ 599 300"
    " 7025 CW 2025-05-31 1100 DL1CC 599 5 W9XYZ 599 310"
    "14025 CW 2025-05-31 1004 DL1CC 599 6 K1QQ 599 400")
  set(active_calls calls.txt)
  audit(0 --audit c.log)
  # K1ZY risks its QSO and a penalty; its prefix K1 has another QSO. W9XYZ,
  # worked twice, is not listed. K1ZY is one edit from K1ZZ, worked two
  # minutes before on 20 m: likely busted. K1QQ, two edits from either: a
  # unique, likely kept, and not in the expected score (21 points less
  # K1ZY's 3 and its penalty of 3, times 3 prefixes).
  expect_lines(
    "not in MASTER.SCP${T}c.log${T}line 7${T}2025-05-31 1002${T}20m${T}K1ZY${T}QSOs 1${T}points -6${T}prefixes 0${T}not in calls.txt and worked once, and K1ZZ, one edit away, was worked on 20m at 1000 (line 5)${T}likely busted"
    "not in MASTER.SCP${T}c.log${T}line 10${T}2025-05-31 1004${T}20m${T}K1QQ${T}QSOs 1${T}points -6${T}prefixes 0${T}not in calls.txt and worked once${T}likely kept"
    "expected after checking${T}c.log${T}QSOs 1${T}points -6${T}prefixes 0${T}score 45${T}penalties 3${T}the score once the proven findings and the likely busts went, with their penalties")
  expect_count("not in MASTER.SCP" 2)
elseif(CASE STREQUAL "refused")
  cabrillo(cw.log DL1AAA QSOS "14025 CW 2025-05-31 1000 DL1AAA 599 1 K1ZZ 599 10")
  file(WRITE ${WORK}/ssb.log "START-OF-LOG: 3.0\nCALLSIGN: K1ZZ\nCONTEST: CQ-WPX-SSB\n"
    "QSO: 14225 PH 2025-05-31 1000 K1ZZ 59 10 DL1AAA 59 1\nEND-OF-LOG:\n")
  audit(2 --audit cw.log ssb.log)
  string(FIND "${err}" "cw.log is CQ-WPX-CW and ssb.log CQ-WPX-SSB: logs are compared within one contest: no audit" at)
  if(at EQUAL -1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "logs of two contests audited together:\n${out}\n${err}")
  endif()
  # Not a QSO in it: no zero summary that reads as a result.
  cabrillo(none.log DL1AAA QSOS "14025 CW 2025-05-31 1000 DL1AAA 599 1 K1ZZ 599")
  audit(2 none.log)
  string(FIND "${err}" "none.log: none of its 1 records is a QSO with the call, date and time the plug-in needs: nothing to score" at)
  if(at EQUAL -1 OR NOT out STREQUAL "")
    message(FATAL_ERROR "a log with nothing to score was scored:\n${out}\n${err}")
  endif()
else()
  message(FATAL_ERROR "unknown CASE ${CASE}")
endif()
