# Test labels: every test carries the names of the in-tree libraries its
# executable links or starts, so that `ctest -L '^Editor$'` runs exactly the
# tests a change of that library can affect (the mutation probe relies on it).
#   talvo_label_tests(<target> GTEST|WINDOW)
# GTEST labels the cases gtest_discover_tests found, WINDOW the one window test
# named after the target, which also gets the label "window" (slow to link and
# run, so the probe runs them last). The closure is taken at the end of the test's folder, when
# the add_dependencies calls after the test's definition are known too.
function(talvo_label_tests target kind)
  if(kind STREQUAL "GTEST")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES
      "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake")
  endif()
  cmake_language(EVAL CODE
    "cmake_language(DEFER CALL talvo_set_test_labels [[${target}]] [[${kind}]])")
endfunction()

# The in-tree libraries reached from <target> through its link libraries and
# its added dependencies (programs and simulators that the test starts).
function(talvo_library_closure target out)
  set(queue ${target})
  set(seen)
  set(labels)
  while(queue)
    list(POP_FRONT queue t)
    string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" t "${t}")
    if(t IN_LIST seen OR NOT TARGET "${t}")
      continue()
    endif()
    list(APPEND seen ${t})
    get_target_property(imported ${t} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(type ${t} TYPE)
    get_target_property(dir ${t} SOURCE_DIR)
    file(RELATIVE_PATH rel "${CMAKE_SOURCE_DIR}" "${dir}")
    if(type MATCHES "^(STATIC|SHARED|MODULE|OBJECT)_LIBRARY$" AND NOT rel MATCHES "^tests(/|$)")
      list(APPEND labels ${t})
    endif()
    foreach(prop LINK_LIBRARIES INTERFACE_LINK_LIBRARIES MANUALLY_ADDED_DEPENDENCIES)
      get_target_property(deps ${t} ${prop})
      if(deps)
        list(APPEND queue ${deps})
      endif()
    endforeach()
  endwhile()
  list(SORT labels)
  set(${out} ${labels} PARENT_SCOPE)
endfunction()

# Discovered cases exist only when CTest reads the discovery's include file,
# so their labels go into an include file read after it.
function(talvo_set_test_labels target kind)
  talvo_library_closure(${target} labels)
  if(kind STREQUAL "GTEST")
    file(GENERATE OUTPUT "${CMAKE_CURRENT_BINARY_DIR}/${target}_labels.cmake" CONTENT
      "if(DEFINED ${target}_TESTS)\n  set_tests_properties(\${${target}_TESTS} PROPERTIES LABELS \"${labels}\")\nendif()\n")
  else()
    set_tests_properties(${target} PROPERTIES LABELS "window;${labels}")
  endif()
endfunction()
