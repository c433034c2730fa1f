# vv_add_gtest(<name> SOURCES ... [LIBS ...] [GUI])
# One GoogleTest executable; GUI tests get a main that creates a QApplication on
# the offscreen platform. Tests are discovered when ctest runs, so a binary that
# needs a display never runs at build time.
include(GoogleTest)
function(vv_add_gtest name)
    cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE vv_core vv_testsupport GTest::gtest GTest::gmock ${ARG_LIBS})
    if(ARG_GUI)
        target_link_libraries(${name} PRIVATE vv_testsupport_gui)
    else()
        target_link_libraries(${name} PRIVATE vv_testsupport_main)
    endif()
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8" TIMEOUT 120)
endfunction()
