cmake_policy(VERSION 3.25)
# Runs the layer check over a made-up project: one header in every unit, and
# one including file per row that either keeps to its layer or climbs.
# Called with CHECK (the check script) and WORK (a scratch folder).
set(units src/base src/photo src/app gui batch tools tests/support)
# including file | include line | passes
set(rows
  "src/app/a.cpp|#include \"../base/b.h\"|1"
  "src/base/a.cpp|#include \"../app/b.h\"|0"
  "src/base/a.cpp|#include \"./../../src/photo/b.h\"|0"
  "src/photo/a.cpp|#include <app/b.h>|0"
  "src/base/a.cpp|  #  include \"app/b.h\"|0"
  "src/app/a.cpp|#include \"gui/b.h\"|0"
  "src/app/a.cpp|#include \"../../batch/b.h\"|0"
  "gui/a.cpp|#include \"batch/b.h\"|0"
  "batch/a.cpp|#include \"app/b.h\"|1"
  "tests/support/a.cpp|#include \"../../gui/b.h\"|0"
  "tools/a.cpp|#include \"support/b.h\"|1"
  "src/base/a.cpp|#include <vector>|1"
  "src/base/a.cpp|#include <top.h>|0")

file(REMOVE_RECURSE ${WORK})
foreach(unit ${units})
  file(WRITE ${WORK}/${unit}/b.h "#pragma once\n")
endforeach()
file(WRITE ${WORK}/tests/top.h "#pragma once\n")
set(failures "")
foreach(row ${rows})
  string(REPLACE "|" ";" fields "${row}")
  list(GET fields 0 source)
  list(GET fields 1 line)
  list(GET fields 2 passes)
  file(WRITE ${WORK}/${source} "${line}\n")
  execute_process(COMMAND ${CMAKE_COMMAND} -DROOT=${WORK} -P ${CHECK} RESULT_VARIABLE result OUTPUT_QUIET ERROR_QUIET)
  file(REMOVE ${WORK}/${source})
  if((result EQUAL 0) AND NOT passes)
    string(APPEND failures "\n  passed: ${source}: ${line}")
  elseif(NOT (result EQUAL 0) AND passes)
    string(APPEND failures "\n  refused: ${source}: ${line}")
  endif()
endforeach()
if(failures)
  message(FATAL_ERROR "The layer check judged wrongly:${failures}")
endif()
