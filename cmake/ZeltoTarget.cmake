# Shared compile settings for every target of the project.
function(zelto_target_settings target)
  target_compile_features(${target} PUBLIC cxx_std_20)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(ZELTO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(ZELTO_SANITIZE)
    target_compile_options(${target} PUBLIC -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PUBLIC -fsanitize=address,undefined)
  endif()
endfunction()

# zelto_library(NAME SOURCES... [LIBS ...]): one folder, one library target.
function(zelto_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS} PRIVATE ${ARG_PRIVATE_LIBS})
  zelto_target_settings(${name})
endfunction()

# zelto_test(NAME SOURCES... LIBS ...): a GoogleTest executable registered with ctest.
function(zelto_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZELTO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    ZELTO_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    ZELTO_GOLDEN_DIR="${PROJECT_SOURCE_DIR}/tests/golden")
  zelto_target_settings(${name})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "ZELTO_TEST_OUTPUT_DIR=${CMAKE_BINARY_DIR}/test-output")
endfunction()

# Adds every listed subdirectory that has a CMakeLists.txt.
function(zelto_add_existing_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endfunction()
