# Groups of tests named by pattern rather than one by one: a pattern is a
# test's full name (Suite.Name), or a prefix of one ending in "*" (a whole
# suite is "Suite.*").  A pattern that matches none of the tests declared in
# the sources stops the configure: a renamed test would otherwise silently
# leave its group (a whole-demo run falling into the parallel pool, a slow
# test into the fast run).

# The Suite.Name of every TEST and TEST_F in the given sources.  An edit of
# one of them configures again, so that a test renamed in its file is
# matched (or refused) anew before the build.
function(qh_declared_tests out)
  set(names "")
  foreach(source IN LISTS ARGN)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
    file(READ "${source}" text)
    string(REGEX MATCHALL "(^|\n)[ \t]*TEST(_F)?\\([ \t\r\n]*[A-Za-z_0-9]+[ \t\r\n]*,[ \t\r\n]*[A-Za-z_0-9]+[ \t\r\n]*\\)"
           declarations "${text}")
    foreach(declaration IN LISTS declarations)
      string(REGEX REPLACE ".*\\([ \t\r\n]*([A-Za-z_0-9]+)[ \t\r\n]*,[ \t\r\n]*([A-Za-z_0-9]+).*" "\\1.\\2"
             name "${declaration}")
      list(APPEND names "${name}")
    endforeach()
  endforeach()
  set(${out} "${names}" PARENT_SCOPE)
endfunction()

# The tests of the list `tests` (a variable name) that the patterns after
# GROUP's name match, in `out`.  `group` names the list in the message.
function(qh_match_tests out group tests)
  set(matched "")
  foreach(pattern IN LISTS ARGN)
    if(pattern MATCHES "\\*$")
      string(REGEX REPLACE "\\*$" "" prefix "${pattern}")
      string(LENGTH "${prefix}" length)
      set(found "")
      foreach(test IN LISTS ${tests})
        string(SUBSTRING "${test}" 0 ${length} start)
        if(start STREQUAL prefix)
          list(APPEND found "${test}")
        endif()
      endforeach()
    elseif(pattern IN_LIST ${tests})
      set(found "${pattern}")
    else()
      set(found "")
    endif()
    if(NOT found)
      message(FATAL_ERROR "The ${group} list names \"${pattern}\", which matches no test in the sources: "
                          "a test renamed or removed?  Correct the list (tests/CMakeLists.txt).")
    endif()
    list(APPEND matched ${found})
  endforeach()
  list(REMOVE_DUPLICATES matched)
  set(${out} "${matched}" PARENT_SCOPE)
endfunction()
