# GoogleTest built for the target from Debian's sources, and a helper that
# registers a test program whose cases ctest runs one process each under Wine.
set(GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

include(GoogleTest)

# ctest finds a program's cases by running it (--gtest_list_tests), which a
# machine whose kernel runs no 32-bit code cannot do for the 32-bit tree.
# There the tree lists each program as one test instead: ctest's listing
# (--show-only=json-v1) then still names every program with its environment,
# and the emulated guest runs them (tools/guest/).
option(NOXD_TEST_CASES_LISTED "ctest lists every GoogleTest case (OFF: every program, whole)" ON)

# noxd_add_test(NAME SOURCES... [LIBS ...] [DISPLAY] [TIMEOUT s] [ENVIRONMENT VAR=VALUE...])
# DISPLAY: the cases read pixels off the screen, so they never run beside
# another case that shows windows: not in this run (the resource lock), nor in
# another run on the same display (NOXD_DISPLAY_EXCLUSIVE, tools/wine-exec).
# TIMEOUT: per case, 120 s unless given.
# ENVIRONMENT: set for every case; a value may hold spaces (quote the whole
# "VAR=VALUE"). Every test carries the label "gtest".
function(noxd_add_test name)
    cmake_parse_arguments(T "DISPLAY" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT" ${ARGN})
    add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS} ${PROJECT_SOURCE_DIR}/tests/support/test_main.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 120)
    endif()
    set(props TIMEOUT ${T_TIMEOUT} LABELS gtest)
    if(T_DISPLAY)
        list(APPEND props RESOURCE_LOCK x_display ENVIRONMENT_MODIFICATION NOXD_DISPLAY_EXCLUSIVE=set:1)
    endif()
    if(NOXD_TEST_CASES_LISTED)
        gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
                             PROPERTIES ${props})
        # gtest_discover_tests flattens a list among its PROPERTIES, so that
        # of two variables only the first would reach the cases: a script
        # ctest reads after the discovery sets them on every case found.
        if(T_ENVIRONMENT)
            set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
            file(WRITE ${script}
                 "foreach(test IN LISTS ${name}_TESTS)\n"
                 "    set_tests_properties(\"\${test}\" PROPERTIES ENVIRONMENT [==[${T_ENVIRONMENT}]==])\n"
                 "endforeach()\n")
            set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
        endif()
    else()
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES ${props})
        if(T_ENVIRONMENT)
            set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
        endif()
    endif()
endfunction()
