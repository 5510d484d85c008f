# pelk_add_test(NAME source...) builds one QtTest executable against the core
# library and registers it with CTest, so adding a test is one line.
# TSAN_OPTIONS only matters in the ThreadSanitizer build (make tsan); its
# suppressions cover races inside Qt and GLib, never PELK's code.
function(pelk_add_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE pelkcore Qt6::Test)
    target_compile_definitions(${name} PRIVATE
        PELK_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
        PELK_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        TIMEOUT 300
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=1;UBSAN_OPTIONS=print_stacktrace=1;TSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp")
endfunction()

# pelk_add_gui_test(NAME source...) is the same for tests of widgets: they
# link the GUI library and run on the offscreen platform.
function(pelk_add_gui_test name)
    pelk_add_test(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE pelkgui)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
endfunction()
