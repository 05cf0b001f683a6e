# Test frameworks of each build. Native: the system GoogleTest. Windows
# (x86-64 and i686 alike): GoogleTest built from source with the MinGW
# compiler; each build's Windows-side tests run its own programs under Wine
# through the Wine harness, the x86-64 build's with the 64-bit loader, the
# shipped i686 build's with the 32-bit one. A test program that reads another
# process's list or tree through that process's memory must match its
# processor, which holds when each build tests its own programs.
#
# zandrix_native_test(name sources... LIBS libs...) and
# zandrix_windows_test(name [SHIPPED_BUILD_ONLY] sources... LIBS libs...)
# declare a test program in the build that can run it; elsewhere, and when
# ZANDRIX_TESTS is off, they do nothing. SHIPPED_BUILD_ONLY keeps a slow test
# whose subject does not depend on the processor out of the x86-64 build, to
# keep the test command's time.
if(NOT ZANDRIX_TESTS)
    function(zandrix_native_test)
    endfunction()
    function(zandrix_windows_test)
    endfunction()
    return()
endif()
enable_testing()
if(NOT WIN32)
    find_package(GTest REQUIRED)
elseif(CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86_64|i686)$")
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
    foreach(target gtest gtest_main)
        target_link_options(${target} INTERFACE -static -static-libgcc -static-libstdc++)
    endforeach()
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/tests/wine/wine-exec.sh ${CMAKE_BINARY_DIR})
    # The harness reads here which loader starts this build's programs.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
        file(WRITE ${CMAKE_BINARY_DIR}/wine-loader "/usr/lib/wine/wine64\n")
    else()
        file(WRITE ${CMAKE_BINARY_DIR}/wine-loader "/usr/lib/wine/wine\n")
    endif()
    set(ZANDRIX_WINDOWS_TESTS ON)
endif()

function(zandrix_native_test name)
    if(WIN32)
        return()
    endif()
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main)
    add_test(NAME ${name} COMMAND ${name})
endfunction()

function(zandrix_windows_test name)
    if(NOT ZANDRIX_WINDOWS_TESTS)
        return()
    endif()
    cmake_parse_arguments(ARG "SHIPPED_BUILD_ONLY" "" "LIBS" ${ARGN})
    if(ARG_SHIPPED_BUILD_ONLY AND NOT CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
        return()
    endif()
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} gtest_main)
    add_test(NAME ${name} COMMAND ${name})
    # A window left waiting must fail its test, not hang the run.
    set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()
