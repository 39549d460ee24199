# velkin_delay_import(<name> <dll>): makes the import library <name> that
# binds <dll>'s functions at their first call instead of at process start.
# The list of functions comes from the toolchain's own import library, so the
# stdcall decorations of 32-bit Windows are right.
# The 32-bit linker drops the code of a stub whose name no object calls, yet
# each import pointer starts out at its stub: a dllimport call, which goes
# through the pointer alone, would jump to address 0. So calls name the stub
# (WINSOCK_API_LINKAGE is empty, set beside the other definitions), which
# keeps just the stubs in use.
function(velkin_delay_import name dll)
  find_library(import_library_${dll} ${dll} REQUIRED)
  execute_process(COMMAND ${CMAKE_NM} ${import_library_${dll}} OUTPUT_VARIABLE symbols RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cannot list the functions of ${import_library_${dll}}")
  endif()
  string(REGEX MATCHALL " I __imp__?[^\n]+" imports "${symbols}")
  list(REMOVE_DUPLICATES imports)
  set(def "LIBRARY ${dll}.dll\nEXPORTS\n")
  foreach(import IN LISTS imports)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(REGEX REPLACE "^ I __imp__" "" function "${import}")
    else()
      string(REGEX REPLACE "^ I __imp_" "" function "${import}")
    endif()
    string(APPEND def "  ${function}\n")
  endforeach()
  set(folder ${CMAKE_BINARY_DIR}/delay-import)
  file(WRITE ${folder}/${dll}.def "${def}")
  set(library ${folder}/lib${dll}-delay.a)
  add_custom_command(OUTPUT ${library}
    COMMAND ${CMAKE_DLLTOOL} --kill-at --input-def ${folder}/${dll}.def --dllname ${dll}.dll --output-delaylib ${library}
    DEPENDS ${folder}/${dll}.def
    VERBATIM)
  add_custom_target(${name}_file DEPENDS ${library})
  add_library(${name} STATIC IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES IMPORTED_LOCATION ${library})
  add_dependencies(${name} ${name}_file)
endfunction()
