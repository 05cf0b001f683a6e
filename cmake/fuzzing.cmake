# Fuzz targets: libFuzzer with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, in a build of their own (build/fuzz, configured
# with CC=clang CXX=clang++ -DZANDRIX_FUZZ=ON -DZANDRIX_TESTS=OFF).
#
# zandrix_fuzz_target(name sources... LIBS libs... CORPUS dir) builds the
# target and adds a test that runs it for a few seconds with a fixed seed,
# starting from the corpus in dir (kept in the repository) and adding
# what it finds to a scratch corpus in the build folder. A long run by hand:
#   build/fuzz/<path>/<name> -max_total_time=3600 build/fuzz/<path>/<name>_corpus <dir>
# Every fuzz target also belongs to the target zandrix_fuzzers, which is all
# the fuzz build compiles.
set(ZANDRIX_FUZZ_SECONDS 5 CACHE STRING "Length of each bounded fuzz run in the tests")

add_custom_target(zandrix_fuzzers)
enable_testing()

function(zandrix_fuzz_target name)
    if(NOT ZANDRIX_FUZZ)
        return()
    endif()
    cmake_parse_arguments(ARG "" "CORPUS" "LIBS" ${ARGN})
    add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} zandrix_options)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    add_dependencies(zandrix_fuzzers ${name})
    set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus)
    file(MAKE_DIRECTORY ${scratch})
    add_test(NAME ${name}
             COMMAND ${name} -seed=1 -max_total_time=${ZANDRIX_FUZZ_SECONDS} -timeout=10
                     -rss_limit_mb=2048 -print_final_stats=1 ${scratch} ${ARG_CORPUS})
endfunction()
