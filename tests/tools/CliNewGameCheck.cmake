# Runs tarnwick-cli newgame on the sample content: a seed sets the same game
# up twice, the board and the shared chest are printed, and bad arguments
# end with a message and a non-zero exit code, never a crash.
#
# cmake -DCLI=... -DSOURCE_DIR=... -P CliNewGameCheck.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CliCheckSupport.cmake)

run_cli(first code newgame 5 orcs humans)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "newgame 5 orcs humans: exit ${code}\n${first}")
endif()
expect_texts("newgame 5 orcs humans" "${first}" "seed 5, turn 1, shared tile chests"
  "player 0: orcs, 5 action points" "player 1: humans, 0 action points"
  "(9 x 5)" "shared chest, 10 tiles, next first:" "player 0 rack, 6 tiles"
  "player 1 rack, 6 tiles")
run_cli(second code newgame 5 orcs humans)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the same seed set up two different games:\n${first}\n${second}")
endif()

run_cli(out code newgame)
expect_texts("newgame" "${out}" "seed 1," "player 0: humans" "player 1: orcs")

expect_refusals(newgame "5,elves,humans|unknown civ \"elves\"" "x|usage:" "5,orcs|usage:"
  "-3|usage:")
