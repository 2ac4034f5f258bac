# Fails when a source outside the formats layer includes the XML parser's headers: the parser's
# types and exceptions stay behind the bounded reader of that layer, which keeps every document
# within its bounds. The benchmarks alone reach it, to time a bare parse against a song load.
file(GLOB_RECURSE sources ${ROOT}/src/*.h ${ROOT}/src/*.cpp ${ROOT}/include/*.h
     ${ROOT}/tools/*.h ${ROOT}/tools/*.cpp ${ROOT}/tests/*.h ${ROOT}/tests/*.cpp
     ${ROOT}/examples/*.cpp)
set(offenders)
foreach(source ${sources})
  if(source MATCHES "^${ROOT}/src/formats/")
    continue()
  endif()
  file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*<xercesc/")
  if(includes)
    list(APPEND offenders ${source})
  endif()
endforeach()
if(offenders)
  list(JOIN offenders "\n  " listed)
  message(FATAL_ERROR "the XML parser is included outside the formats layer:\n  ${listed}")
endif()
