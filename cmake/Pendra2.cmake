# pendra2_library(NAME [QT] [LIBS lib...])
# A static library made of every .cpp in the calling folder; include paths start at the
# repository root ("flowchart/flow_program.h").
function(pendra2_library name)
  cmake_parse_arguments(L "" "" "LIBS;SOURCES" ${ARGN})
  if(NOT L_SOURCES)
    file(GLOB L_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# pendra2_test(NAME SOURCES file... LIBS lib... [OWN_MAIN])
# A GoogleTest executable in build/tests, each test case a CTest test. GUI tests run on the
# offscreen platform; OWN_MAIN is for tests that create their own QApplication.
function(pendra2_test name)
  cmake_parse_arguments(T "OWN_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${name} ${T_SOURCES})
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  endif()
  # Tests are silent: PENDRA2_MUTE keeps every virtual board they start off the loudspeaker.
  # gtest_discover_tests flattens a list-valued ENVIRONMENT property into separate words,
  # which keeps only the first variable; so the test environment is set by running each
  # test (and its discovery) through `cmake -E env` instead.
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR
    "${CMAKE_COMMAND};-E;env;QT_QPA_PLATFORM=offscreen;PENDRA2_MUTE=1;PENDRA2_BIN_DIR=${CMAKE_BINARY_DIR}/bin;PENDRA2_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()

# pendra2_program(NAME SOURCES file... LIBS lib...): a program in build/bin.
function(pendra2_program name)
  cmake_parse_arguments(P "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
endfunction()

# The hicolor sizes the icons are rendered at (resources/icons) and installed from.
set(PENDRA2_ICON_SIZES 16 22 24 32 48 64 128 256)
set(PENDRA2_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
