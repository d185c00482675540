# Run as: cmake -DGEN3DL=<gen3dl> -DWORK=<scratch dir> -DSOURCE=<tools/gen3dl> -P roundtrip.cmake
#
# Every generated file must pass the checker, which includes that no cell ever holds two persons,
# also when every cell persons can start on is taken; the same seed must give the same bytes;
# hand-written valid files must pass and a shared cell be named; --crowding shared must give the
# files of the older model; bad options must exit 2; and the samples listed in the README must be
# exactly what their commands produce today.

function(run_ok)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
    if(NOT rc EQUAL 0)
        string(REPLACE ";" " " cmd "${ARGN}")
        message(FATAL_ERROR "exit ${rc}: ${cmd}\n${err}")
    endif()
endfunction()

function(expect_same a b why)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${a} ${b} RESULT_VARIABLE rc)
    if(NOT rc EQUAL 0)
        message(FATAL_ERROR "${a} and ${b} differ: ${why}")
    endif()
endfunction()

set(CASES
    "--seed 1"
    "--seed 2 --kind building --decks 4 --xmax 60 --ymax 30 --persons 500"
    "--seed 3 --decks 1 --xmax 8 --ymax 5 --persons 10"
    "--seed 4 --decks 6 --xmax 200 --ymax 70 --persons 2000 --vmax 2 --toff 30"
    "--seed 5 --kind building --decks 2 --xmax 12 --ymax 6 --persons 0"
    "--seed 1 --decks 3 --xmax 30 --ymax 10 --persons 486"
    "--seed 7 --kind building --decks 3 --xmax 24 --ymax 10 --persons 372 --vmax 1")
set(i 0)
foreach(case IN LISTS CASES)
    separate_arguments(args UNIX_COMMAND "${case}")
    run_ok(${GEN3DL} ${args} --out ${WORK}/case${i}.3dl)
    run_ok(${GEN3DL} --check ${WORK}/case${i}.3dl)
    run_ok(${GEN3DL} ${args} --out ${WORK}/case${i}-again.3dl)
    expect_same(${WORK}/case${i}.3dl ${WORK}/case${i}-again.3dl "same options, same seed")
    math(EXPR i "${i} + 1")
endforeach()

run_ok(${GEN3DL} --seed 99 --out ${WORK}/other-seed.3dl)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/case0.3dl
                        ${WORK}/other-seed.3dl RESULT_VARIABLE rc)
if(rc EQUAL 0)
    message(FATAL_ERROR "different seeds gave the same file")
endif()

foreach(good minimal freed_cell_taken_next_step)
    run_ok(${GEN3DL} --check ${SOURCE}/tests/good/${good}.3dl)
endforeach()

execute_process(COMMAND ${GEN3DL} --check ${SOURCE}/tests/bad/two_on_one_cell.3dl
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
set(shared "step 2: persons 1 and 2 stand on one cell, column 5, row 1 of deck 1 (Upper deck with exit)\n")
if(NOT rc EQUAL 1 OR NOT err STREQUAL shared)
    message(FATAL_ERROR "a shared cell gave exit ${rc} and '${err}', expected 1 and '${shared}'")
endif()

# One person more than the decks have cells to start on.
execute_process(COMMAND ${GEN3DL} --seed 1 --decks 3 --xmax 30 --ymax 10 --persons 487
                RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 2 OR NOT err MATCHES "487 persons do not fit: the decks have 486 cells")
    message(FATAL_ERROR "487 persons on 486 start cells gave exit ${rc} and '${err}'")
endif()

# --crowding shared must give the very bytes the generator gave before it walked the crowd
# together: the benchmark files and the speed figures recorded on them depend on it. The sums are
# of files made by that generator: the ferry's command, and more persons than start cells.
set(OLD_FILES
    "--seed 7 --decks 3 --xmax 150 --ymax 40 --persons 400 --vmax 4 --toff 0|a7b2f2c175fdf3f9fa9db4dcdccbd6b5e2b20e242796cc499892b62250e4fdb5"
    "--seed 1 --decks 3 --xmax 30 --ymax 10 --persons 600|96a3787db76f88f2a27cf785903e14dec8384467f4d472962533c64942fee02a")
foreach(old IN LISTS OLD_FILES)
    string(REPLACE "|" ";" old "${old}")
    list(GET old 0 case)
    list(GET old 1 expected)
    separate_arguments(args UNIX_COMMAND "${case}")
    run_ok(${GEN3DL} ${args} --crowding shared --out ${WORK}/shared.3dl)
    file(SHA256 ${WORK}/shared.3dl sum)
    if(NOT sum STREQUAL expected)
        message(FATAL_ERROR "'gen3dl ${case} --crowding shared' no longer gives the old file")
    endif()
endforeach()

foreach(bad "--crowding crowded" "--decks 0" "--xmax 7" "--persons -1" "--vmax" "--kind boat" "--frobnicate 1")
    separate_arguments(args UNIX_COMMAND "${bad}")
    execute_process(COMMAND ${GEN3DL} ${args} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_QUIET)
    if(NOT rc EQUAL 2)
        message(FATAL_ERROR "'gen3dl ${bad}' exited with ${rc}, expected 2")
    endif()
endforeach()

file(STRINGS ${SOURCE}/README.md lines REGEX "^gen3dl .* --out samples/[^ ]+$")
foreach(line IN LISTS lines)
    string(REGEX MATCH "^gen3dl (.*) --out samples/([^ ]+)$" _ "${line}")
    set(sample ${SOURCE}/../../samples/${CMAKE_MATCH_2})
    if(EXISTS ${sample})
        separate_arguments(args UNIX_COMMAND "${CMAKE_MATCH_1}")
        run_ok(${GEN3DL} ${args} --out ${WORK}/${CMAKE_MATCH_2})
        expect_same(${sample} ${WORK}/${CMAKE_MATCH_2}
                    "regenerate samples/${CMAKE_MATCH_2} with the command in tools/gen3dl/README.md")
        run_ok(${GEN3DL} --check ${sample})
    endif()
endforeach()
