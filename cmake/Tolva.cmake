# Project-wide compile settings and helpers shared by every folder.

add_compile_options(-Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wno-missing-field-initializers)
if(TOLVA_WERROR)
    add_compile_options(-Werror)
endif()

if(WIN32)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Nothing but Windows' own DLLs may sit beside our programs.
    add_link_options(-static -static-libgcc -static-libstdc++)
    set(TOLVA_PLATFORM win32)
    # The Wine the tree's tests run under (tests/wine/wine-harness).
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
        set(TOLVA_WINE_ARCH win64)
    else()
        set(TOLVA_WINE_ARCH win32)
    endif()
else()
    set(TOLVA_PLATFORM host)
endif()

if(TOLVA_FUZZ)
    set(TOLVA_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_compile_options(${TOLVA_SANITIZE} -fsanitize=fuzzer-no-link)
    add_link_options(${TOLVA_SANITIZE})
endif()

# JSON for Modern C++ (nlohmann-json3-dev), header-only. The Windows trees are shown its header folder
# alone, never the rest of the machine's /usr/include.
find_path(TOLVA_NLOHMANN_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH
    REQUIRED)
add_library(tolva_json INTERFACE)
if(WIN32)
    set(TOLVA_JSON_INCLUDE ${CMAKE_BINARY_DIR}/json-include)
    file(MAKE_DIRECTORY ${TOLVA_JSON_INCLUDE})
    file(CREATE_LINK ${TOLVA_NLOHMANN_JSON_DIR}/nlohmann ${TOLVA_JSON_INCLUDE}/nlohmann SYMBOLIC)
    target_include_directories(tolva_json SYSTEM INTERFACE ${TOLVA_JSON_INCLUDE})
else()
    target_include_directories(tolva_json SYSTEM INTERFACE ${TOLVA_NLOHMANN_JSON_DIR})
endif()

# tolva_library(NAME SOURCES... [DEPS ...]): a static library of one layer, headers next to sources,
# included as "folder/header.h" from src/.
function(tolva_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    if(ARG_DEPS)
        target_link_libraries(${name} PUBLIC ${ARG_DEPS})
    endif()
endfunction()

# tolva_test(NAME SOURCES... [DEPS ...] [LABELS ...]): a GoogleTest program. On the host it runs natively;
# in the Windows tree it runs under Wine inside the harness's prefix and carries the label "wine".
function(tolva_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS} tolva_gtest_main)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(WIN32)
        tolva_wine_test(${name} COMMAND $<TARGET_FILE:${name}> LABELS ${ARG_LABELS})
    else()
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES LABELS "native;${ARG_LABELS}" TIMEOUT 600)
    endif()
endfunction()

# tolva_wine_test(NAME COMMAND exe args... [WRAPPER program args...] [PREFIX scenario] [LABELS ...]):
# runs a Windows program under the harness. A WRAPPER (one that starts a peer on the host, say) runs
# instead and is handed the harness command as its last arguments. With PREFIX the program runs in
# the fresh prefix of that scenario (tolva_wine_prefix) instead of the one the test run shares.
function(tolva_wine_test name)
    cmake_parse_arguments(ARG "" "PREFIX" "COMMAND;WRAPPER;LABELS" ${ARGN})
    add_test(NAME ${name}
        COMMAND ${ARG_WRAPPER} ${PROJECT_SOURCE_DIR}/tests/wine/wine-run ${ARG_COMMAND})
    tolva_in_wine_prefix(${name} "${ARG_PREFIX}" 600 "${ARG_LABELS}")
endfunction()

# tolva_wine_check(NAME COMMAND script args... [PREFIX scenario] [TIMEOUT seconds]): a check run on
# the host that starts Windows programs through the harness itself, in the shared prefix or, with
# PREFIX, in that scenario's.
function(tolva_wine_check name)
    cmake_parse_arguments(ARG "" "PREFIX;TIMEOUT" "COMMAND" ${ARGN})
    if(NOT ARG_TIMEOUT)
        set(ARG_TIMEOUT 300)
    endif()
    add_test(NAME ${name} COMMAND ${ARG_COMMAND})
    tolva_in_wine_prefix(${name} "${ARG_PREFIX}" ${ARG_TIMEOUT} "")
endfunction()

# The test runs in the shared prefix, or in the scenario's one, and alone in it.
function(tolva_in_wine_prefix name prefix timeout labels)
    set(fixture wine_prefix)
    set(state ${CMAKE_BINARY_DIR}/wine)
    if(prefix)
        set(fixture wine_prefix_${prefix})
        set(state ${CMAKE_BINARY_DIR}/wine-${prefix})
    endif()
    set_tests_properties(${name} PROPERTIES
        LABELS "wine;${labels}"
        FIXTURES_REQUIRED ${fixture}
        RESOURCE_LOCK ${fixture}_lock
        TIMEOUT ${timeout}
        ENVIRONMENT "TOLVA_WINE_ARCH=${TOLVA_WINE_ARCH};TOLVA_WINE_STATE=${state}")
endfunction()

# tolva_wine_prefix(SCENARIO): a fresh prefix and display of its own for the tests of one scenario
# (tolva_wine_test PREFIX), made before the first of them and ended after the last.
function(tolva_wine_prefix scenario)
    set(state ${CMAKE_BINARY_DIR}/wine-${scenario})
    set(harness ${PROJECT_SOURCE_DIR}/tests/wine/wine-harness)
    add_test(NAME wine_prefix_${scenario}_setup COMMAND ${harness} start)
    add_test(NAME wine_prefix_${scenario}_cleanup COMMAND ${harness} stop)
    set_tests_properties(wine_prefix_${scenario}_setup PROPERTIES
        FIXTURES_SETUP wine_prefix_${scenario} LABELS wine TIMEOUT 400
        ENVIRONMENT "TOLVA_WINE_ARCH=${TOLVA_WINE_ARCH};TOLVA_WINE_STATE=${state}")
    set_tests_properties(wine_prefix_${scenario}_cleanup PROPERTIES
        FIXTURES_CLEANUP wine_prefix_${scenario} LABELS wine TIMEOUT 120
        ENVIRONMENT "TOLVA_WINE_ARCH=${TOLVA_WINE_ARCH};TOLVA_WINE_STATE=${state}")
endfunction()

# tolva_fuzzer(NAME SOURCES... DEPS ...): a libFuzzer target, built only with TOLVA_FUZZ.
function(tolva_fuzzer name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_DEPS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()

# tolva_delay_imports(VARIABLE dll...): sets VARIABLE to libraries to link instead of the named
# system DLLs (without ".dll"), each loaded at the first call of one of its functions. So no such
# DLL stands in a program's import table, where Windows would look for it beside the program
# first; the program entry makes delay loads come from the system folder
# (platform/win32/delay_load_search.h).
function(tolva_delay_imports variable)
    set(libraries)
    foreach(dll ${ARGN})
        set(target tolva_delay_${dll})
        if(NOT TARGET ${target})
            find_library(TOLVA_IMPORT_LIBRARY_${dll} ${dll} REQUIRED)
            set(output ${CMAKE_BINARY_DIR}/delay-imports/lib${dll}_delay.a)
            set(keep ${CMAKE_BINARY_DIR}/delay-imports/${dll}_delay_stubs.obj)
            add_custom_command(OUTPUT ${output} ${keep}
                COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delay-imports
                COMMAND ${PROJECT_SOURCE_DIR}/cmake/make-delay-import ${CMAKE_NM} ${CMAKE_DLLTOOL}
                    ${CMAKE_CXX_COMPILER} ${TOLVA_IMPORT_LIBRARY_${dll}} ${dll}.dll ${output} ${keep}
                DEPENDS ${PROJECT_SOURCE_DIR}/cmake/make-delay-import
                VERBATIM)
            add_custom_target(${target}_library DEPENDS ${output} ${keep})
            add_library(${target} INTERFACE)
            target_link_libraries(${target} INTERFACE ${keep} ${output})
            add_dependencies(${target} ${target}_library)
        endif()
        list(APPEND libraries ${target})
    endforeach()
    set(${variable} ${libraries} PARENT_SCOPE)
endfunction()
