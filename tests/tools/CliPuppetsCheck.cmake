# Runs tarnwick-cli puppets: the whole sample set loads with its parts, entries
# and tags, every named image is found and every animation has its length; on a
# copy that lacks one puppet file, or one image, the command names it and ends
# with exit code 1.
#
# cmake -DCLI=... -DSOURCE_DIR=... -DWORK_DIR=... -P CliPuppetsCheck.cmake

include(${CMAKE_CURRENT_LIST_DIR}/CliCheckSupport.cmake)

run_cli(out code puppets)
if(NOT code STREQUAL "0")
  message(FATAL_ERROR "puppets: exit ${code}\n${out}")
endif()
expect_texts("puppets" "${out}" "21 puppets" "; 0 failures" "Civ/Orcs/Phantom"
  "Civ/Humans/KnightUpgraded" "Civ/Orcs/WarriorRage" "Civ/Orcs/Grenade" "Effects/Door01"
  "Effects/DoorKX401" "Effects/Teleport01" "part Torso (order 1) on bone \"Body\""
  "0.35 Attack" "0.95 Attack" "MainHand shows \"Effects/SwordSwipe\", under \"weapon\""
  "\"Effects/Sparkle.plist\" at bone \"Body\" + (0, 40)" "looping" "Ability"
  "(missing images: 0)"
  "Civ/Humans/Knight: \"Civ/Humans/Knight.png\" found, colour \"Civ/Humans/Knight_Color.png\", click mask"
  "Text/Weakened: text \"Entity_weakenBuff_DisplayName\" (localized)"
  "Text/Damage: text \"Damage\" (dynamic)" "Anims/Unit/Idle: 2.00 s, 1 nodes"
  "Anims/Unit/SwingTwice: 1.40 s, 2 nodes")

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
file(COPY ${SOURCE_DIR}/data ${SOURCE_DIR}/vellix DESTINATION ${WORK_DIR})
file(REMOVE ${WORK_DIR}/data/Effects/Teleport01.Puppet)
execute_process(COMMAND ${CLI} --root ${WORK_DIR} puppets
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL "1")
  message(FATAL_ERROR "puppets without Teleport01: exit ${code}\n${out}${err}")
endif()
expect_texts("puppets without Teleport01" "${out}" "Effects/Teleport01: failed to load"
  "; 1 failures")

file(COPY ${SOURCE_DIR}/data/Effects/Teleport01.Puppet DESTINATION ${WORK_DIR}/data/Effects)
file(REMOVE ${WORK_DIR}/data/Civ/Humans/Sword.png)
execute_process(COMMAND ${CLI} --root ${WORK_DIR} puppets
  RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT code STREQUAL "1")
  message(FATAL_ERROR "puppets without Sword.png: exit ${code}\n${out}${err}")
endif()
expect_texts("puppets without Sword.png" "${out}"
  "Civ/Humans/Sword: \"Civ/Humans/Sword.png\" MISSING" "(missing images: 1)" "; 1 failures")
file(REMOVE_RECURSE ${WORK_DIR})
