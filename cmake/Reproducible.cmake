# Two builds of one commit give the same programs, wherever the checkout lies:
# no time stamp in the PE headers, no build path in any file, and the build
# date that the version boxes show is the commit's time.
add_link_options(-Wl,--no-insert-timestamp)
add_compile_options($<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_BINARY_DIR}/=build/>
                    $<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${CMAKE_SOURCE_DIR}/=>)

# GCC takes __DATE__ and __TIME__ from SOURCE_DATE_EPOCH, in UTC.
execute_process(COMMAND git -C ${CMAKE_SOURCE_DIR} log -1 --format=%ct
                OUTPUT_VARIABLE VELKIN_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                RESULT_VARIABLE git_result ERROR_QUIET)
if(NOT git_result EQUAL 0 OR NOT VELKIN_SOURCE_DATE_EPOCH)
  set(VELKIN_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
endif()
if(VELKIN_SOURCE_DATE_EPOCH)
  foreach(lang C CXX)
    set(CMAKE_${lang}_COMPILER_LAUNCHER
        ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${VELKIN_SOURCE_DATE_EPOCH} ${CMAKE_${lang}_COMPILER_LAUNCHER})
  endforeach()
endif()
# Written only when it changes, so that a new commit rebuilds just the files
# that show the build date.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/build-date.txt CONTENT "${VELKIN_SOURCE_DATE_EPOCH}\n")

# velkin_build_date_source(source): SOURCE, a path from the top of the
# checkout, shows the build date.
function(velkin_build_date_source source)
  get_filename_component(directory ${CMAKE_SOURCE_DIR}/${source} DIRECTORY)
  set_property(SOURCE ${CMAKE_SOURCE_DIR}/${source} DIRECTORY ${directory} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_BINARY_DIR}/generated/build-date.txt)
endfunction()

# One version for the programs, their version resources and the package.
string(REGEX MATCH "^([0-9]+)\\.0*([0-9]+)$" version_parts "${PROJECT_VERSION}")
set(VELKIN_VERSION_MAJOR ${CMAKE_MATCH_1})
set(VELKIN_VERSION_MINOR ${CMAKE_MATCH_2})
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/VelkinVersion.h CONTENT
"#define VELKIN_VERSION \"${PROJECT_VERSION}\"
#define VELKIN_VERSION_MAJOR ${VELKIN_VERSION_MAJOR}
#define VELKIN_VERSION_MINOR ${VELKIN_VERSION_MINOR}
")
include_directories(${CMAKE_BINARY_DIR}/generated)
