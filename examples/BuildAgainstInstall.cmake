# Installs the korman build KORMAN_BUILD into WORK/prefix, builds the host examples of
# EXAMPLE_SOURCE against it with find_package, runs them (the task examples on the inputs of
# SAMPLES), and has the installed kortool and pkg-config read the installation (its library
# folder is LIBDIR): the package and pkg-config must name the installed schemas, the README's
# pkg-config line must build a program that starts without help, and the guide and the examples
# must be installed under share/doc/korman. Fails at the first step that goes wrong.
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
# The example project prints the schema folder the package names.
file(REAL_PATH "${prefix}/${LIBDIR}" installed_lib_dir)
string(REGEX MATCH "korman schemas: ([^\n]*)" schema_line "${output}")
file(REAL_PATH "${CMAKE_MATCH_1}" package_schema_dir)
if(NOT package_schema_dir STREQUAL installed_lib_dir OR NOT EXISTS ${package_schema_dir}/kor3.xsd)
  message(FATAL_ERROR "KORMAN_SCHEMA_DIR does not name the installed schemas: ${schema_line}")
endif()
foreach(doc host-guide.md examples/CMakeLists.txt examples/HostExample.cpp examples/NewSong.cpp)
  if(NOT EXISTS ${prefix}/share/doc/korman/${doc})
    message(FATAL_ERROR "share/doc/korman/${doc} is not installed")
  endif()
endforeach()
# The objects' write interface stays inside the library: a host changes a song through the editor.
if(EXISTS ${prefix}/include/korman/IZRMutableKorObject.h)
  message(FATAL_ERROR "the objects' write interface is installed as a public header")
endif()
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
  string(STRIP "${output}" flags)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  run("pkg-config's schema folder" ${CMAKE_COMMAND} -E env
      PKG_CONFIG_PATH=${prefix}/${LIBDIR}/pkgconfig ${PKG_CONFIG} --variable=schemadir korman)
  string(STRIP "${output}" schemadir)
  file(REAL_PATH "${schemadir}" schemadir)
  if(NOT schemadir STREQUAL installed_lib_dir OR NOT EXISTS ${schemadir}/kor4.xsd)
    message(FATAL_ERROR "pkg-config's schemadir does not name the installed schemas: ${schemadir}")
  endif()
  # The README's line: the run path pkg-config names lets the program start outside a system
  # prefix, with no LD_LIBRARY_PATH.
  separate_arguments(cxx_flags UNIX_COMMAND "${CXX_FLAGS}")
  run("building with the README's pkg-config line" ${CXX_COMPILER} -std=c++20 ${cxx_flags}
      ${EXAMPLE_SOURCE}/HostExample.cpp ${flags} -Wl,-rpath,${prefix}/${LIBDIR} ${CMAKE_DL_LIBS}
      -o ${WORK}/pkg-config-host)
  run("running the program built with pkg-config" ${CMAKE_COMMAND} -E env
      XDG_DATA_HOME=${WORK}/appdata ${WORK}/pkg-config-host ${WORK}/pkg-config.korx)
endif()
