# Runs tarnwick-cli sound on the sample content with SDL's dummy driver: a
# sound set, a set of its own file and a plain file play to their end; an
# unknown name or no name ends with a message and a non-zero exit code.
#
# cmake -DCLI=... -DSOURCE_DIR=... -P CliSoundCheck.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CliCheckSupport.cmake)
set(ENV{SDL_AUDIODRIVER} dummy)

foreach(case "UI_Game_CannotPlace_Swish|sound set" "Civ/Humans/Knight_Select|sound set"
    "sound/UI_Game_CantPlace.mp3|file")
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 kind)
  run_cli(out code sound ${name})
  if(NOT code STREQUAL "0")
    message(FATAL_ERROR "sound ${name}: exit ${code}\n${out}")
  endif()
  expect_texts("sound ${name}" "${out}" "playing ${kind} \"${name}\"" "done after")
endforeach()

expect_refusals(sound "Nothing|no sound set or sound file \"Nothing\"" "|usage:"
  "a,b|usage:")
