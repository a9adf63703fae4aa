# Runs tarnwick-cli's content load on copies of the sample content: the
# whole content loads; each damaged or missing game-data file gives the
# loader's line, "Game Data Corrupt" and exit code 1, never a crash; a
# broken puzzle file only drops that puzzle.
#
# cmake -DCLI=... -DSOURCE_DIR=... -DWORK_DIR=... -P CliContentCheck.cmake

function(fresh_copy)
  file(REMOVE_RECURSE ${WORK_DIR})
  file(MAKE_DIRECTORY ${WORK_DIR})
  file(COPY ${SOURCE_DIR}/data ${SOURCE_DIR}/vellix DESTINATION ${WORK_DIR})
endfunction()

# Runs the content command; fails the check unless the exit code is
# expected_code and the output holds every expected text.
function(expect_run case expected_code)
  execute_process(COMMAND ${CLI} --root ${WORK_DIR} content
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code STREQUAL expected_code)
    message(FATAL_ERROR "${case}: exit ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  foreach(text IN LISTS ARGN)
    string(FIND "${out}${err}" "${text}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${case}: no \"${text}\" in\n${out}${err}")
    endif()
  endforeach()
endfunction()

fresh_copy()
expect_run("sample content" 0 "Settings manager complete." "2 boards, 2 civs"
  "AVATAR_COUNCIL_FREE \"Council Faces\": 4 avatars" "TAUNTS_SMALL \"A Few Taunts\": 5 taunts"
  "TutorialBasics \"First Blood\"" "ChallengeHoldTheLine \"Hold the Line\"")

foreach(file database settings gameboards civs PlayerColors AvatarPacks TauntPacks)
  fresh_copy()
  file(APPEND ${WORK_DIR}/data/${file}.xml "<!-- changed -->\n")
  if(file STREQUAL "database")
    set(line "failed to init database")
  elseif(file STREQUAL "AvatarPacks")
    set(line "failed to init avatar manager")
  elseif(file STREQUAL "TauntPacks")
    set(line "failed to init taunt packs")
  else()
    set(line "failed to init settings")
  endif()
  expect_run("damaged ${file}.xml" 1 "${line}" "Game Data Corrupt")

  fresh_copy()
  file(REMOVE ${WORK_DIR}/data/${file}.xml)
  expect_run("missing ${file}.xml" 1 "${line}" "Game Data Corrupt")
endforeach()

# The shared puppet attachments are loaded first, but the game data do not
# depend on them.
fresh_copy()
file(WRITE ${WORK_DIR}/data/Attachments.xml "<Attachments><Attachment")
expect_run("broken Attachments.xml" 0 "Settings manager complete.")

# Same size, one byte changed: the CRC-32 still tells.
fresh_copy()
file(READ ${WORK_DIR}/data/civs.xml civs)
string(REPLACE "ID=\"3\"" "ID=\"4\"" civs "${civs}")
file(WRITE ${WORK_DIR}/data/civs.xml "${civs}")
expect_run("edited civs.xml" 1 "failed to init settings" "Game Data Corrupt")

# Puzzle files are not checked: a broken one drops its puzzle, a broken
# category file its categories.
fresh_copy()
file(WRITE ${WORK_DIR}/data/Puzzles/TutorialBasics.xml "<puzzle><board>")
file(WRITE ${WORK_DIR}/data/Puzzles/challengesCategories.xml "<category name=\"Challenges\"")
expect_run("broken puzzle files" 0 "5 puzzle categories" "4 \"Tutorials\"")

file(REMOVE_RECURSE ${WORK_DIR})
