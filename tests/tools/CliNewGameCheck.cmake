# Runs tarnwick-cli newgame on the sample content: a seed sets the same game
# up twice, the board and the shared chest are printed, and bad arguments
# end with a message and a non-zero exit code, never a crash.
#
# cmake -DCLI=... -DSOURCE_DIR=... -P CliNewGameCheck.cmake

function(run_newgame out_var code_var)
  execute_process(COMMAND ${CLI} --root ${SOURCE_DIR} newgame ${ARGN}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${out_var} "${out}${err}" PARENT_SCOPE)
  set(${code_var} "${code}" PARENT_SCOPE)
endfunction()

function(expect_texts case text)
  foreach(expected IN LISTS ARGN)
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${case}: no \"${expected}\" in\n${text}")
    endif()
  endforeach()
endfunction()

run_newgame(first code 5 orcs humans)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "newgame 5 orcs humans: exit ${code}\n${first}")
endif()
expect_texts("newgame 5 orcs humans" "${first}" "seed 5, turn 1, shared tile chests"
  "player 0: orcs, 5 action points" "player 1: humans, 0 action points"
  "(9 x 5)" "shared chest, 22 tiles, next first:" "player 0 rack, 0 tiles")
run_newgame(second code 5 orcs humans)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the same seed set up two different games:\n${first}\n${second}")
endif()

run_newgame(out code)
expect_texts("newgame" "${out}" "seed 1," "player 0: humans" "player 1: orcs")

foreach(case "5;elves;humans|unknown civ \"elves\"" "x|usage:" "5;orcs|usage:" "-3|usage:")
  string(REPLACE "|" ";" case "${case}")
  list(GET case -1 message)
  list(REMOVE_AT case -1)
  run_newgame(out code ${case})
  if(code STREQUAL "0" OR NOT code MATCHES "^[0-9]+$")
    message(FATAL_ERROR "newgame ${case}: exit ${code}\n${out}")
  endif()
  expect_texts("newgame ${case}" "${out}" "${message}")
endforeach()
