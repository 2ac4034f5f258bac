# Installs the korman build KORMAN_BUILD into WORK/prefix, builds the host examples of
# EXAMPLE_SOURCE against it with find_package, runs them (the task examples on the inputs of
# SAMPLES), and has the installed kortool and
# pkg-config read the installation (its library folder is LIBDIR). Fails at the first step that
# goes wrong.
function(run what)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${what} failed (${result}):\n${out}")
  endif()
  set(output "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
set(prefix ${WORK}/prefix)
run("installing" ${CMAKE_COMMAND} --install ${KORMAN_BUILD} --prefix ${prefix})
run("configuring the example" ${CMAKE_COMMAND} -S ${EXAMPLE_SOURCE} -B ${WORK}/build
    -G ${GENERATOR} -DCMAKE_BUILD_TYPE=Debug -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} "-DCMAKE_CXX_FLAGS=${CXX_FLAGS}")
run("building the example" ${CMAKE_COMMAND} --build ${WORK}/build)

# The example reads the schemas beside the installed library, which loads its voice database
# from there too; the application data stays in the scratch folder.
set(song ${WORK}/example.korx)
run("running the example" ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/appdata
    ${WORK}/build/host_example ${song})
run("running the new song example" ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/appdata
    ${WORK}/build/NewSong ${WORK})
run("running the chorale example" ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/appdata
    ${WORK}/build/ChoraleTranspose ${SAMPLES}/morning-chorale.musicxml ${WORK}/chorale.korx)
run("running the song walk example" ${CMAKE_COMMAND} -E env XDG_DATA_HOME=${WORK}/appdata
    ${WORK}/build/SongWalk ${SAMPLES}/morning-walk.korx)
if(WITH_TOOL)
  run("validating with the installed kortool" ${CMAKE_COMMAND} -E env
      XDG_DATA_HOME=${WORK}/appdata ${prefix}/bin/kortool validate ${song})
endif()

find_program(PKG_CONFIG pkg-config)
if(PKG_CONFIG)
  run("pkg-config" ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig
      ${PKG_CONFIG} --cflags --libs korman)
  string(REGEX MATCH "-I([^ \n]*)" include_flag "${output}")
  file(REAL_PATH "${CMAKE_MATCH_1}" include_dir)
  file(REAL_PATH "${prefix}/include" installed_include_dir)
  if(NOT include_dir STREQUAL installed_include_dir OR NOT output MATCHES "-lkorman")
    message(FATAL_ERROR "pkg-config does not point into the installation: ${output}")
  endif()
endif()
