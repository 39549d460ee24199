# velkin_check_imports(target [GUI]): after each build, fail when the program
# imports a DLL that is not part of Windows itself (or, with GUI, is not a
# Windows GUI program).
function(velkin_check_imports target)
  cmake_parse_arguments(ARG "GUI" "" "" ${ARGN})
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND}
      -DOBJDUMP=${CMAKE_OBJDUMP}
      -DFILE=$<TARGET_FILE:${target}>
      -DGUI=${ARG_GUI}
      -P ${PROJECT_SOURCE_DIR}/cmake/CheckImports.cmake
    VERBATIM)
endfunction()

# velkin_add_test(name sources... LIBS libs...): one GoogleTest program,
# run by CTest through Wine.
function(velkin_add_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest gtest_main)
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no
           WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
endfunction()
