# Helpers of the tarnwick-cli checks, included by the check scripts.

# Runs a tarnwick-cli command (and its arguments) on the sample content; its
# whole output and its exit code go to out_var and code_var.
function(run_cli out_var code_var command)
  execute_process(COMMAND ${CLI} --root ${SOURCE_DIR} ${command} ${ARGN}
    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  set(${out_var} "${out}${err}" PARENT_SCOPE)
  set(${code_var} "${code}" PARENT_SCOPE)
endfunction()

# Fails the check unless text holds every further argument.
function(expect_texts case text)
  foreach(expected IN LISTS ARGN)
    string(FIND "${text}" "${expected}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "${case}: no \"${expected}\" in\n${text}")
    endif()
  endforeach()
endfunction()

# Runs the command with each further argument as a case ("arguments|message",
# the arguments separated by ",") and fails unless each ends with a non-zero
# exit code and its message.
function(expect_refusals command)
  foreach(case IN LISTS ARGN)
    string(REPLACE "," ";" case "${case}")
    string(REPLACE "|" ";" case "${case}")
    list(GET case -1 message)
    list(REMOVE_AT case -1)
    run_cli(out code ${command} ${case})
    if(code STREQUAL "0" OR NOT code MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${command} ${case}: exit ${code}\n${out}")
    endif()
    expect_texts("${command} ${case}" "${out}" "${message}")
  endforeach()
endfunction()
