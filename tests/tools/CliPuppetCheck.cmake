# Runs tarnwick-cli puppet on the sample content offscreen: a unit drawn at a
# pose in a team colour is written as a PNG; a puppet that does not load ends
# with exit code 1, bad arguments with the usage.
#
# cmake -DCLI=... -DSOURCE_DIR=... -DWORK_DIR=... -P CliPuppetCheck.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CliCheckSupport.cmake)
set(ENV{SDL_VIDEODRIVER} offscreen)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})

run_cli(out code puppet Civ/Humans/Knight --state AttackMelee --time 0.3 --colour 200,30,30
  --screenshot ${WORK_DIR}/knight.png)
if(NOT code STREQUAL "0" OR NOT EXISTS ${WORK_DIR}/knight.png)
  message(FATAL_ERROR "puppet Civ/Humans/Knight: exit ${code}\n${out}")
endif()
expect_texts("puppet Civ/Humans/Knight" "${out}" "wrote ${WORK_DIR}/knight.png")
file(SIZE ${WORK_DIR}/knight.png size)
if(size LESS 200)
  message(FATAL_ERROR "puppet Civ/Humans/Knight: a PNG of ${size} bytes")
endif()

expect_refusals(puppet "Civ/Humans/Nobody|puppet \"Civ/Humans/Nobody\" does not load" "|usage:"
  "Civ/Humans/Knight,--colour,1,2|usage:" "Civ/Humans/Knight,--state,Dancing|usage:"
  "Civ/Humans/Knight,--time|usage:")
