# GoogleTest built for the target from Debian's sources, and a helper that
# registers a test program whose cases ctest runs one process each under Wine.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)

# noxd_add_test(NAME SOURCES... [LIBS ...] [DISPLAY])
# DISPLAY: the cases read pixels off the screen, so they never run beside
# another case that shows windows.
function(noxd_add_test name)
    cmake_parse_arguments(T "DISPLAY" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gtest_main)
    set(props TIMEOUT 120)
    if(T_DISPLAY)
        list(APPEND props RESOURCE_LOCK x_display)
    endif()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                         PROPERTIES ${props})
endfunction()
