# The smoke run of one fuzz target for CTest: RUNS executions from the
# committed seeds in SEEDS. New inputs go to WORK (emptied first), so the
# seeds stay as they are; a crash, a sanitizer report or a leak fails the run
# and leaves the input in WORK/crashes.
#   cmake -DFUZZER=BINARY -DSEEDS=DIR -DWORK=DIR -DRUNS=N -DMAX_LEN=N -P smoke.cmake
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/corpus" "${WORK}/crashes")
execute_process(
  COMMAND "${FUZZER}" -seed=1 -runs=${RUNS} -max_len=${MAX_LEN} -timeout=20 -print_final_stats=1
          "-artifact_prefix=${WORK}/crashes/" "${WORK}/corpus" "${SEEDS}"
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${FUZZER} failed (${result}); the input is in ${WORK}/crashes")
endif()
