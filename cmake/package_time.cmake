# Read by cpack when it packs: every file in the archive gets the time of the
# commit it was built from, so that two builds of one commit give the same
# archive byte for byte. Outside a git checkout the release's own date serves;
# a SOURCE_DATE_EPOCH given by the caller wins, as everywhere.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  return()
endif()
execute_process(COMMAND git -C "${CPACK_STATS_SOURCE_DIR}" log -1 --format=%ct
                OUTPUT_VARIABLE commit_time OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
if(failed OR NOT commit_time)
  set(commit_time 1796774400)  # 8 December 2026, 00:00 UTC
endif()
set(ENV{SOURCE_DATE_EPOCH} "${commit_time}")
