# make coverage: gcov counters in every object of the build, read by gcovr
# after the suite has run. A build of its own, without the sanitizers,
# whose instrumentation would be counted too.
if(PELK_COVERAGE)
    if(PELK_SANITIZE OR PELK_TSAN)
        message(FATAL_ERROR "PELK_COVERAGE is a build of its own, without sanitizers")
    endif()
    add_compile_options(--coverage -O0)
    add_link_options(--coverage)
endif()
