# Shared build helpers.

set(TARVO_WARNINGS -Wall -Wextra)
if(TARVO_WERROR)
  list(APPEND TARVO_WARNINGS -Werror)
endif()

# One shared library per source folder: tarvo_library(<folder> DEPS <targets...>)
# takes every .cpp/.h of src/<folder> (recursively) and links what it names.
# Shared, so that the hundred test programs and the tools do not each carry a
# copy of the whole program: the build stays a few gigabytes smaller.
function(tarvo_library folder)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h
       ${CMAKE_CURRENT_SOURCE_DIR}/*.c)
  add_library(tarvo_${folder} SHARED ${srcs})
  # Calls inside one library may be bound and inlined at build time.
  target_compile_options(tarvo_${folder} PRIVATE -fno-semantic-interposition)
  target_link_options(tarvo_${folder} PRIVATE -Wl,--no-undefined)
  install(TARGETS tarvo_${folder} LIBRARY DESTINATION ${TARVO_INSTALL_LIBDIR})
  set_target_properties(tarvo_${folder} PROPERTIES INSTALL_RPATH "\$ORIGIN")
  target_include_directories(tarvo_${folder} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(tarvo_${folder} PRIVATE ${TARVO_WARNINGS})
  target_link_libraries(tarvo_${folder} PUBLIC ${ARG_DEPS})
endfunction()

# One QtTest program per test file group:
# tarvo_add_test(<name> SOURCES <files...> LIBS <targets...>)
function(tarvo_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_compile_options(${name} PRIVATE ${TARVO_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE
      TARVO_PROGDIR="${TARVO_PROGDIR}"
      TARVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TARVO_PROGDIR=${TARVO_PROGDIR};TARVO_TEST_RUN=1"
      TIMEOUT 300)
  if(TARGET tarvo_progfiles)
    add_dependencies(${name} tarvo_progfiles)
  endif()
endfunction()

# Benchmarks are built, never run by the test suite:
# tarvo_add_bench(<name> SOURCES <files...> LIBS <targets...>)
function(tarvo_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(${name} PRIVATE benchmark::benchmark ${ARG_LIBS})
endfunction()
