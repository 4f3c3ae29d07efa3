# cmake -DKIV=program -DGAME=demo -DSCRIPTS=dir -DOUT=dir -DOPTIPNG=optipng -DNAMES="a;b" -P this
# Plays each script NAME.script on a fresh copy of the demo (no records: every build shows the
# same ranking), the records going to a folder of OUT; the script writes NAME.bmp, which becomes
# OUT/NAME.png.
file(REMOVE_RECURSE ${OUT})
foreach(name ${NAMES})
  file(REMOVE_RECURSE ${OUT}/game ${OUT}/records)
  file(COPY ${GAME}/ DESTINATION ${OUT}/game PATTERN "kiv" EXCLUDE PATTERN "Kiv.ini" EXCLUDE PATTERN "*.tmp" EXCLUDE)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${OUT}/records ASAN_OPTIONS=detect_leaks=0
                          ${KIV} --headless --seed 1 --data ${OUT}/game --script ${SCRIPTS}/${name}.script
    WORKING_DIRECTORY ${OUT} RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0 OR NOT EXISTS ${OUT}/${name}.bmp)
    message(FATAL_ERROR "${name}.script did not make ${name}.bmp (status ${status}): ${errors}")
  endif()
  execute_process(COMMAND ${OPTIPNG} -quiet -clobber -out ${OUT}/${name}.png ${OUT}/${name}.bmp
    RESULT_VARIABLE status ERROR_VARIABLE errors)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "optipng could not turn ${name}.bmp into a PNG: ${errors}")
  endif()
  file(REMOVE ${OUT}/${name}.bmp)
endforeach()
file(REMOVE_RECURSE ${OUT}/game ${OUT}/records)
