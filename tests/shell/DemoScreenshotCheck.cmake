# tarnwick-demo --frames 60 --screenshot FILE under SDL's offscreen driver:
# exit code 0 and a PNG written. Lock and user files go to WORK_DIR. No X
# display: the recording page host stands in for the menu page.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
unset(ENV{DISPLAY})
unset(ENV{WAYLAND_DISPLAY})
set(ENV{SDL_VIDEODRIVER} offscreen)
set(ENV{SDL_AUDIODRIVER} dummy)
set(ENV{XDG_RUNTIME_DIR} ${WORK_DIR})
set(ENV{XDG_DATA_HOME} ${WORK_DIR})
execute_process(COMMAND ${DEMO} --root ${SOURCE_DIR} --frames 60 --screenshot ${WORK_DIR}/demo.png
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "tarnwick-demo ended with ${result}:\n${output}\n${errors}")
endif()
file(READ ${WORK_DIR}/demo.png head LIMIT 8 HEX)
if(NOT head STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "no PNG written:\n${output}\n${errors}")
endif()
