# Runs tarnwick-cli selfplay on the sample content: one game with the
# invariant checks, printed turn by turn, repeats from its seed; several
# games print their totals; --replay replays every saved turn; bad arguments end with a message and a non-zero
# exit code.
#
# cmake -DCLI=... -DSOURCE_DIR=... -P CliSelfPlayCheck.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CliCheckSupport.cmake)

run_cli(first code selfplay 3 orcs humans --max-turns 12 --check)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "selfplay 3 orcs humans: exit ${code}\n${first}")
endif()
expect_texts("selfplay 3 orcs humans" "${first}" "turn 1, player 0:" "turn 2, player 1:"
  "turn 12, player 1:" "game 0 (seed 3): ")
string(FIND "${first}" "turn 13," past)
if(NOT past EQUAL -1)
  message(FATAL_ERROR "selfplay played beyond the turn cap:\n${first}")
endif()
run_cli(second code selfplay 3 orcs humans --max-turns 12 --check)
if(NOT first STREQUAL second)
  message(FATAL_ERROR "the same seed played two different games:\n${first}\n${second}")
endif()

run_cli(out code selfplay 10 3 --max-turns 6 --quiet)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "selfplay 10 3: exit ${code}\n${out}")
endif()
expect_texts("selfplay 10 3" "${out}" "3 games: player 0 won " "18 turns (6.0 a game)")

# Every saved turn replayed headless, to its end and skipped, saves back to
# the same bytes.
run_cli(out code selfplay 10 2 --max-turns 8 --replay --quiet)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "selfplay 10 2 --replay: exit ${code}\n${out}")
endif()
expect_texts("selfplay 10 2 --replay" "${out}" "2 games: player 0 won "
  " turns replayed to their end and skipped, the longest in ")

expect_refusals(selfplay "1,elves,humans|unknown civ \"elves\"" "x,y,z|usage:" "1,orcs|usage:"
  "5,0|usage:" "2147483647,2|usage:" "--max-turns|usage:" "--fast|usage:")
