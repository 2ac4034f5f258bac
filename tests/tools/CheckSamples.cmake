# Writes the samples afresh, converts the legacy one to the bundled KOR3 song and draws the
# README's picture of it, and fails when a bundled file differs from what the programs write.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
function(run)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/appdata ${ARGN}
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${result}):\n${out}")
  endif()
endfunction()
run(${MAKE_SAMPLES} ${WORK})
run(${KORTOOL} convert ${WORK}/morning-walk.kor ${WORK}/morning-walk.korx)
run(${KORTOOL} render ${SAMPLES}/morning-walk.korx ${WORK}/morning-walk.svg --measures-per-row 5)

set(regenerate "make_samples samples && kortool convert samples/morning-walk.kor samples/morning-walk.korx && kortool render samples/morning-walk.korx docs/morning-walk.svg --measures-per-row 5")
foreach(bundled ${SAMPLES}/morning-walk.mid ${SAMPLES}/morning-walk.kor ${SAMPLES}/morning-walk.korx
                ${PICTURE})
  get_filename_component(name ${bundled} NAME)
  file(SHA256 ${WORK}/${name} fresh_hash)
  file(SHA256 ${bundled} bundled_hash)
  if(NOT fresh_hash STREQUAL bundled_hash)
    message(FATAL_ERROR "${bundled} is out of date: run ${regenerate}")
  endif()
endforeach()
