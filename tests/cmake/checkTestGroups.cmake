# Configures tests/cmake/tiny with test patterns that match (its configure
# must pass and find exactly the tests they name) and with patterns of which
# one names no test (its configure must stop and say which).
# Run with cmake -DWORK=<scratch folder> -P checkTestGroups.cmake.
set(tiny ${CMAKE_CURRENT_LIST_DIR}/tiny)
set(failures 0)

function(configure_tiny name patterns result_var output_var)
  file(REMOVE_RECURSE ${WORK}/${name})
  execute_process(COMMAND ${CMAKE_COMMAND} -S ${tiny} -B ${WORK}/${name} "-DPATTERNS=${patterns}"
                  RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  set(${result_var} ${result} PARENT_SCOPE)
  set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

configure_tiny(good "Drawing.WholeDemo*;Sound.Loud" result output)
if(NOT result EQUAL 0)
  message(SEND_ERROR "patterns that all match stopped the configure:\n${output}")
else()
  file(READ ${WORK}/good/matched.txt matched)
  if(NOT matched STREQUAL "Drawing.WholeDemoAtThirtyFps;Drawing.WholeDemoAtSixtyFps;Sound.Loud")
    message(SEND_ERROR "the patterns matched \"${matched}\"")
  endif()
endif()

configure_tiny(split "Drawing.*" result output)
file(READ ${WORK}/split/matched.txt matched)
if(NOT matched STREQUAL "Drawing.WholeDemoAtThirtyFps;Drawing.WholeDemoAtSixtyFps;Drawing.SplitOverTwoLines")
  message(SEND_ERROR "a suite's pattern matched \"${matched}\"")
endif()

# A test renamed from WholeDemoAtThirtyFps: the exact name and a prefix of it
# both match nothing now.
foreach(misnamed Drawing.WholeDemoAtThirtyFrames Drawing.WholeRun* Sond.*)
  configure_tiny(misnamed "Sound.Loud;${misnamed}" result output)
  string(FIND "${output}" "\"${misnamed}\"" named)
  if(result EQUAL 0)
    message(SEND_ERROR "the misnamed pattern ${misnamed} did not stop the configure")
  elseif(named EQUAL -1 OR NOT output MATCHES "matches[ \n]+no[ \n]+test")
    message(SEND_ERROR "the configure stopped without naming ${misnamed}:\n${output}")
  endif()
endforeach()
