# The layer check on a small tree of its own: the includes the layers allow
# pass, and each one that points up or across fails the check by name.
#   cmake -DCHECK=<cmake/CheckLayers.cmake> -DWORK=<scratch dir> -P LayersCheckTest.cmake
cmake_minimum_required(VERSION 3.20)

function(write_tree)
  file(REMOVE_RECURSE "${WORK}")
  foreach(pair IN LISTS ARGN)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 path)
    list(GET pair 1 includes)
    string(REPLACE "," ";" includes "${includes}")
    set(text "")
    foreach(header IN LISTS includes)
      string(APPEND text "#include \"${header}\"\n")
    endforeach()
    file(WRITE "${WORK}/${path}" "${text}")
  endforeach()
endfunction()

function(run_check out_result out_text)
  execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${WORK} -P ${CHECK}
    RESULT_VARIABLE result ERROR_VARIABLE text OUTPUT_QUIET)
  string(REGEX REPLACE "[ \n]+" " " text "${text}")
  set(${out_result} ${result} PARENT_SCOPE)
  set(${out_text} "${text}" PARENT_SCOPE)
endfunction()

write_tree(
  "toolkit/File.cpp=toolkit/File.h"
  "engine/Playlist.cpp=engine/Playlist.h,toolkit/TextString.h"
  "shell/Settings.cpp=shell/Settings.h,toolkit/File.h"
  "ui/PlayerBar.h=engine/HttpClient.h"
  "ui/search/SearchWindow.cpp=ui/PlayerBar.h,ui/SideWindows.h,engine/Playlist.h,shell/Settings.h,resources/ProgramRes.h,toolkit/Window.h"
  "shell/Application.cpp=ui/main/MainWindow.h,ui/search/SearchWindow.h,shell/SideWindowHost.h")
run_check(result text)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "allowed includes failed the check: ${text}")
endif()

write_tree(
  "toolkit/File.cpp=engine/HttpClient.h"
  "engine/Playlist.cpp=ui/PlayerBar.h"
  "shell/Settings.cpp=engine/StreamPlayer.h"
  "ui/search/SearchWindow.cpp=ui/main/MainWindow.h,shell/Application.h"
  "ui/favorites/FavoritesWindow.h=ui/search/SearchWindow.h,shell/SideWindowHost.h")
run_check(result text)
if(result EQUAL 0)
  message(FATAL_ERROR "wrong includes passed the check")
endif()
foreach(expected
    "src/toolkit/File.cpp includes \"engine/HttpClient.h\""
    "src/engine/Playlist.cpp includes \"ui/PlayerBar.h\""
    "src/shell/Settings.cpp includes \"engine/StreamPlayer.h\""
    "src/ui/search/SearchWindow.cpp includes \"ui/main/MainWindow.h\""
    "src/ui/search/SearchWindow.cpp includes \"shell/Application.h\""
    "src/ui/favorites/FavoritesWindow.h includes \"ui/search/SearchWindow.h\""
    "src/ui/favorites/FavoritesWindow.h includes \"shell/SideWindowHost.h\""
    "7 include(s) point up or across the layers")
  string(FIND "${text}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the check did not name: ${expected}\nit said: ${text}")
  endif()
endforeach()
file(REMOVE_RECURSE "${WORK}")
