# qm_platform_sources(VAR file...) keeps the files this platform builds: Foo.cpp is the POSIX
# implementation when a FooWin32.cpp sits beside it, and FooWin32.cpp its Windows twin.
function(qm_platform_sources var)
    set(kept)
    foreach(file ${ARGN})
        string(REGEX REPLACE "\\.cpp$" "Win32.cpp" twin "${file}")
        if(file MATCHES "Win32\\.cpp$")
            if(WIN32)
                list(APPEND kept ${file})
            endif()
        elseif(NOT (WIN32 AND EXISTS ${twin}))
            list(APPEND kept ${file})
        endif()
    endforeach()
    set(${var} ${kept} PARENT_SCOPE)
endfunction()

# qm_sources(VAR dir...) collects the top-level .cpp files of each folder that this platform
# builds; files in sub-folders (such as the desktop layer's ui/) belong to other targets.
function(qm_sources var)
    set(all)
    foreach(dir ${ARGN})
        file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
        list(APPEND all ${found})
    endforeach()
    qm_platform_sources(all ${all})
    set(${var} ${all} PARENT_SCOPE)
endfunction()

function(qm_warnings target)
    target_compile_options(${target} PRIVATE ${QM_WARNINGS})
endfunction()

# qm_test_sources(VAR file...) keeps the test files this platform builds: the Windows build
# leaves out QM_POSIX_ONLY_TESTS, a build without the archive QM_ARCHIVE_ONLY_TESTS (paths
# below tests/).
function(qm_test_sources var)
    qm_platform_sources(kept ${ARGN})
    if(WIN32)
        foreach(posixOnly ${QM_POSIX_ONLY_TESTS})
            list(REMOVE_ITEM kept ${CMAKE_CURRENT_SOURCE_DIR}/${posixOnly})
        endforeach()
    endif()
    foreach(archiveOnly ${QM_ARCHIVE_ONLY_TESTS})
        list(REMOVE_ITEM kept ${CMAKE_CURRENT_SOURCE_DIR}/${archiveOnly})
    endforeach()
    set(${var} ${kept} PARENT_SCOPE)
endfunction()

# qm_add_test(NAME dir LIBS ...): one GoogleTest executable per area, from every
# .cpp in tests/<dir>, discovered by CTest.
function(qm_add_test name dir)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp)
    qm_test_sources(srcs ${srcs})
    if(NOT srcs)
        return()
    endif()
    add_executable(${name} ${srcs})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} qm_testsupport GTest::gtest GTest::gtest_main)
    target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
    qm_warnings(${name})
    # End-to-end tests run the programs: building a test builds them too.
    foreach(program qm7100 qm7100-sim qm7100-samples)
        if(TARGET ${program})
            add_dependencies(${name} ${program})
        endif()
    endforeach()
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(CMAKE_CROSSCOMPILING)
        return() # run where the target system is, by scripts/test-windows.sh
    endif()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QM_BIN_DIR=${CMAKE_BINARY_DIR}/bin;QM_SOURCE_DIR=${CMAKE_SOURCE_DIR}")
endfunction()
