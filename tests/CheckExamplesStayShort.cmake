# Fails when a task example of EXAMPLES (a folder) holds more than 40 lines of code: lines that
# are neither blank nor comments only.
foreach(example NewSong ChoraleTranspose SongWalk)
  file(READ ${EXAMPLES}/${example}.cpp content)
  # A semicolon would split a CMake list: count lines, not statements.
  string(REPLACE ";" "," content "${content}")
  string(REPLACE "\n" ";" lines "${content}")
  set(code 0)
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^[ \t]*(//.*)?$")
      math(EXPR code "${code} + 1")
    endif()
  endforeach()
  message(STATUS "${example}.cpp: ${code} lines of code")
  if(code GREATER 40)
    message(FATAL_ERROR "${example}.cpp holds ${code} lines of code; a task example keeps to 40.")
  endif()
endforeach()
