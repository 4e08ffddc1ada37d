# The core's folders include downward only. Bottom up:
#   state  catalogue  io  screen  battle  story  shell
# A folder may include its own headers and those of the folders below it. The one exception is
# the game's own recursion between the game-mode machine and the story: battle/game_mode.cpp
# may include story/dispatcher.h (Mshow ↔ STORYshow).
#   cmake -DSRC=<src folder> -P CheckLayers.cmake
get_filename_component(SRC "${SRC}" ABSOLUTE)
set(layers state catalogue io screen battle story shell)
set(allowed_up "battle/game_mode.cpp:story/dispatcher.h")

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
if(NOT files)
  message(FATAL_ERROR "No sources under ${SRC}")
endif()
set(faults "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" folder ${file})
  list(FIND layers ${folder} rank)
  if(rank EQUAL -1)
    string(APPEND faults "  ${file}: a folder that is not one of the layers\n")
    continue()
  endif()
  file(STRINGS ${SRC}/${file} lines REGEX "^#include \"[^\"]+\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    string(REGEX MATCH "^[^/]+" target "${header}")
    list(FIND layers "${target}" target_rank)
    if(target_rank EQUAL -1)
      if(NOT header MATCHES "/")
        continue() # a header of the build (content_data) or a local one
      endif()
      string(APPEND faults "  ${file}: includes ${header}, outside the core\n")
    elseif(target_rank GREATER rank)
      list(FIND allowed_up "${file}:${header}" ok)
      if(ok EQUAL -1)
        string(APPEND faults "  ${file}: includes ${header}, a layer above its own\n")
      endif()
    endif()
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes against the layers (bottom up: ${layers}):\n${faults}")
endif()
