# Every target sees only the headers of its own folders and of the targets it links: its
# folders' headers are reached through an include root of its own, a folder of forwarding
# headers (include_roots/TARGET/FOLDER/NAME.h, each including the real file), so a header
# of a folder the target does not link is simply not found. Includes still start at the
# repository root ("flowchart/flow_program.h").

# pendra2_include_root(TARGET SCOPE FOLDER...): gives TARGET the include root of FOLDERs
# (relative to the repository root; their headers, not those of subfolders).
function(pendra2_include_root target scope)
  set(root ${CMAKE_BINARY_DIR}/include_roots/${target})
  set(wanted)
  foreach(folder ${ARGN})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.h)
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      set(forward ${root}/${folder}/${name})
      list(APPEND wanted ${forward})
      # Written only when it changes, so a new configure rebuilds nothing.
      file(CONFIGURE OUTPUT ${forward} CONTENT "#include \"${header}\"\n" @ONLY)
    endforeach()
  endforeach()
  # A header that was removed or moved leaves no forwarder behind to be found by mistake.
  file(GLOB_RECURSE present ${root}/*.h)
  foreach(forward ${present})
    if(NOT forward IN_LIST wanted)
      file(REMOVE ${forward})
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${root})
  set_property(TARGET ${target} PROPERTY PENDRA2_FOLDERS ${ARGN})
  set_property(GLOBAL APPEND PROPERTY PENDRA2_TARGETS ${target})
endfunction()

# The folder of the calling CMakeLists.txt, relative to the repository root.
function(pendra2_current_folder out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(${out} ${folder} PARENT_SCOPE)
endfunction()

# pendra2_library(NAME [SOURCES file...] [FOLDERS folder...] [LIBS lib...])
# A static library made of every .cpp in the calling folder unless SOURCES are given; its
# include root holds the headers of FOLDERS (default: the calling folder).
function(pendra2_library name)
  cmake_parse_arguments(L "" "" "LIBS;SOURCES;FOLDERS" ${ARGN})
  if(NOT L_SOURCES)
    file(GLOB L_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT L_FOLDERS)
    pendra2_current_folder(L_FOLDERS)
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  pendra2_include_root(${name} PUBLIC ${L_FOLDERS})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# pendra2_headers(NAME [LIBS lib...]): the headers of the calling folder as a library of
# their own, for folders that are only declarations (the contracts, the image layout).
function(pendra2_headers name)
  cmake_parse_arguments(H "" "" "LIBS" ${ARGN})
  pendra2_current_folder(folder)
  add_library(${name} INTERFACE)
  pendra2_include_root(${name} INTERFACE ${folder})
  target_link_libraries(${name} INTERFACE ${H_LIBS})
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
  # Tests see the shared test helpers and what they link, like every other target.
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
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
  pendra2_current_folder(folder)
  pendra2_include_root(${name} PRIVATE ${folder})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
endfunction()

# The hicolor sizes the icons are rendered at (resources/icons) and installed from.
set(PENDRA2_ICON_SIZES 16 22 24 32 48 64 128 256)
set(PENDRA2_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
