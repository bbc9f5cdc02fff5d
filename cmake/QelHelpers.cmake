# qel_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib...)
# One GoogleTest program; its cases are registered with CTest one by one.
function(qel_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${T_NAME} PRIVATE
    QEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    QEL_FIXTURES_DIR="${CMAKE_SOURCE_DIR}/tests/fixtures"
    QEL_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${T_NAME} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()

# qel_add_fuzzer(NAME name SOURCES a.cpp LIBS lib...)
function(qel_add_fuzzer)
  cmake_parse_arguments(F "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${F_NAME} ${F_SOURCES})
  target_link_libraries(${F_NAME} PRIVATE ${F_LIBS})
  target_link_options(${F_NAME} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${F_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
endfunction()

# qel_add_bench(NAME name SOURCES a.cpp LIBS lib...)
function(qel_add_bench)
  cmake_parse_arguments(B "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${B_NAME} ${B_SOURCES})
  target_link_libraries(${B_NAME} PRIVATE ${B_LIBS} benchmark::benchmark)
  target_include_directories(${B_NAME} PRIVATE ${CMAKE_SOURCE_DIR}/bench)
  target_compile_definitions(${B_NAME} PRIVATE QEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  set_target_properties(${B_NAME} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
