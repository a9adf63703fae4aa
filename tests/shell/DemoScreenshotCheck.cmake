# tarnwick-demo --frames 60 --screenshot FILE: exit code 0 and a PNG
# written, under SDL's offscreen driver. Lock and user files go to WORK_DIR.
# Without PAGE: no X display, the recording page host standing in for the
# menu page. With PAGE (run under xvfb-run): the menu page, which must have
# shown, on a desktop large enough for layout mode 2.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
set(desktop)
if(PAGE)
  set(desktop --desktop 1600x1200x32)
  # No session bus: with a display set, D-Bus would try to start one through
  # X and keep what it allocated for that.
  set(ENV{DBUS_SESSION_BUS_ADDRESS} unix:path=/nonexistent)
else()
  unset(ENV{DISPLAY})
  unset(ENV{WAYLAND_DISPLAY})
endif()
set(ENV{SDL_VIDEODRIVER} offscreen)
set(ENV{NO_AT_BRIDGE} 1)
set(ENV{SDL_AUDIODRIVER} dummy)
set(ENV{XDG_RUNTIME_DIR} ${WORK_DIR})
set(ENV{XDG_DATA_HOME} ${WORK_DIR})
execute_process(COMMAND ${DEMO} --root ${SOURCE_DIR} --frames 60 --screenshot ${WORK_DIR}/demo.png
                        ${desktop}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "tarnwick-demo ended with ${result}:\n${output}\n${errors}")
endif()
file(READ ${WORK_DIR}/demo.png head LIMIT 8 HEX)
if(NOT head STREQUAL "89504e470d0a1a0a")
  message(FATAL_ERROR "no PNG written:\n${output}\n${errors}")
endif()
