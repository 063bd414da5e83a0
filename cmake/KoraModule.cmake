# kc_add_module(NAME SOURCES ... [RELEASE year])
# A module is a shared library named NAME.arx, built from the frame and its own sources and
# linked against the host and the platform only: modules never link against each other.
function(kc_add_module name)
  cmake_parse_arguments(ARG "" "RELEASE" "SOURCES" ${ARGN})
  if(NOT ARG_RELEASE)
    set(ARG_RELEASE 2025)
  endif()
  add_library(${name} MODULE ${ARG_SOURCES})
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".arx"
                        CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
  target_compile_definitions(${name} PRIVATE KC_HOST_RELEASE=${ARG_RELEASE} KC_MODULE_NAME="${name}")
  target_link_libraries(${name} PRIVATE kcframe kchostlib kcplatform)
  set_property(GLOBAL APPEND PROPERTY KORA_MODULES ${name})
endfunction()

# kc_add_tests(NAME SOURCES ... LIBS ...)
# One test program per folder, its tests discovered by CTest when the tests run.
function(kc_add_tests name)
  if(NOT KORA_BUILD_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "KORA_BIN=${CMAKE_BINARY_DIR}/bin")
endfunction()

# kc_add_resources(TARGET SCRIPT FUNCTION)
# Compiles a resource script (resources/*.rc) with kcrc at build time into a C++ source that
# defines `void FUNCTION(plat::ResourceSet&)`, and adds it to the target.
function(kc_add_resources target script function)
  get_filename_component(base ${script} NAME_WE)
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${base}_resources.cpp)
  add_custom_command(
    OUTPUT ${output}
    COMMAND kcrc ${script} ${output} ${function}
    DEPENDS kcrc ${script}
    COMMENT "Compiling the resource script ${base}.rc"
    VERBATIM)
  target_sources(${target} PRIVATE ${output})
endfunction()
