# Prints the ctest command that runs test preset PRESET of CMakePresets.json in the build
# folder DIR instead of the preset's own build/<name>: ctest cannot do that itself
# (a test preset's folder wins over --test-dir). The Makefile uses it when BUILD_ROOT
# moves the builds elsewhere.
#     cmake -DPRESET=sanitize -DDIR=/tmp/b/sanitize -P cmake/preset-test-command.cmake
# prints
#     env ASAN_OPTIONS=... UBSAN_OPTIONS=... ctest --test-dir /tmp/b/sanitize --output-on-failure
# It knows the settings the project's test presets use (environment, output on failure,
# repeat); a preset with any other setting fails here, so the command never drops one.
cmake_minimum_required(VERSION 3.25)

if(NOT PRESET OR NOT DIR)
    message(FATAL_ERROR "usage: cmake -DPRESET=<test preset> -DDIR=<build folder> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()

get_filename_component(sourceDir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
file(READ "${sourceDir}/CMakePresets.json" presets)

# The test preset named PRESET, as JSON.
function(find_test_preset outVar)
    string(JSON count LENGTH "${presets}" testPresets)
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
        string(JSON name GET "${presets}" testPresets ${index} name)
        if(name STREQUAL PRESET)
            string(JSON preset GET "${presets}" testPresets ${index})
            set(${outVar} "${preset}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "CMakePresets.json has no test preset '${PRESET}'")
endfunction()

# The members of JSON object `json` (empty when `json` is empty).
function(json_members outVar json)
    set(members "")
    if(json)
        string(JSON count LENGTH "${json}")
        if(count GREATER 0)
            math(EXPR last "${count} - 1")
            foreach(index RANGE ${last})
                string(JSON member MEMBER "${json}" ${index})
                list(APPEND members "${member}")
            endforeach()
        endif()
    endif()
    set(${outVar} "${members}" PARENT_SCOPE)
endfunction()

# The value of `json`'s member path (`ARGN`), or empty when it has none.
function(json_optional outVar json)
    string(JSON value ERROR_VARIABLE missing GET "${json}" ${ARGN})
    if(missing)
        set(value "")
    endif()
    set(${outVar} "${value}" PARENT_SCOPE)
endfunction()

function(require_known json allowed what)
    json_members(members "${json}")
    foreach(member IN LISTS members)
        if(NOT member IN_LIST allowed)
            message(FATAL_ERROR "test preset '${PRESET}': ${what}'${member}' has no "
                                "equivalent in ${CMAKE_CURRENT_LIST_FILE}")
        endif()
    endforeach()
endfunction()

find_test_preset(preset)
require_known("${preset}" "name;description;displayName;configurePreset;output;environment;execution" "")
json_optional(output "${preset}" output)
require_known("${output}" "outputOnFailure" "output.")
json_optional(execution "${preset}" execution)
require_known("${execution}" "repeat" "execution.")

set(command "")
json_optional(environment "${preset}" environment)
json_members(variables "${environment}")
if(variables)
    list(APPEND command env)
    foreach(variable IN LISTS variables)
        string(JSON value GET "${environment}" ${variable})
        list(APPEND command "${variable}=${value}")
    endforeach()
endif()
list(APPEND command ctest --test-dir "${DIR}")
json_optional(onFailure "${preset}" output outputOnFailure)
if(onFailure)
    list(APPEND command --output-on-failure)
endif()
json_optional(repeat "${preset}" execution repeat)
if(repeat)
    string(JSON mode GET "${repeat}" mode)
    string(JSON times GET "${repeat}" count)
    list(APPEND command --repeat "${mode}:${times}")
endif()

list(JOIN command " " commandLine)
# message() writes to stderr; the Makefile reads stdout.
execute_process(COMMAND "${CMAKE_COMMAND}" -E echo "${commandLine}")
