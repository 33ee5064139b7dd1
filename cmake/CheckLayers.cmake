# Fails when a source file includes a header of a layer above its own or
# beside it. Run as a build step (src/CMakeLists.txt):
#   cmake -DSOURCE_DIR=<src> -P CheckLayers.cmake
#
# A file's layer is its folder under src/: toolkit, engine, shell, resources,
# ui (the interfaces between windows, directly in src/ui), or one window
# family under ui/ (ui/main, ui/search, ui/favorites). Start-up, which owns
# and wires every window, may include anything; no other file includes
# start-up's headers, although they sit in shell.

cmake_minimum_required(VERSION 3.20)

# layer | the layers it may include besides its own
set(rules
  "toolkit|"
  "engine|toolkit"
  "shell|toolkit"
  "resources|"
  "ui|toolkit engine shell"
  "ui/*|ui toolkit engine shell resources"
)
set(startup_files
  shell/Application.cpp shell/Application.h
  shell/Main_win.cpp
  shell/SideWindowHost.cpp shell/SideWindowHost.h
)

# The layer of a path relative to src/: "ui/<family>" for files below a
# family folder, else the first folder ("" for a file at the top).
function(layer_of path out)
  string(REPLACE "/" ";" parts "${path}")
  list(LENGTH parts depth)
  list(GET parts 0 first)
  if(depth LESS 2)
    set(first "")
  elseif(first STREQUAL "ui" AND depth GREATER 2)
    list(GET parts 1 family)
    set(first "ui/${family}")
  endif()
  set(${out} "${first}" PARENT_SCOPE)
endfunction()

function(allowed_layers layer out)
  set(key "${layer}")
  if(layer MATCHES "^ui/")
    set(key "ui/*")
  endif()
  foreach(rule IN LISTS rules)
    string(REPLACE "|" " " rule "${rule}")
    separate_arguments(rule)
    list(GET rule 0 name)
    if(name STREQUAL key)
      list(LENGTH rule count)
      set(allowed "")
      if(count GREATER 1)
        list(SUBLIST rule 1 -1 allowed)
      endif()
      list(PREPEND allowed "${layer}")
      set(${out} "${allowed}" PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "*" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(failures 0)
foreach(file IN LISTS sources)
  if(file IN_LIST startup_files)
    continue()
  endif()
  layer_of("${file}" layer)
  allowed_layers("${layer}" allowed)
  if(allowed STREQUAL "*")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" header "${line}")
    if(NOT header MATCHES "/")
      continue()  # beside the file itself
    endif()
    layer_of("${header}" target)
    if(header IN_LIST startup_files)
      message(SEND_ERROR "src/${file} includes \"${header}\": only start-up includes start-up's headers")
      math(EXPR failures "${failures} + 1")
    elseif(NOT target IN_LIST allowed)
      list(JOIN allowed ", " allowedText)
      message(SEND_ERROR "src/${file} includes \"${header}\": ${layer} may include only ${allowedText}")
      math(EXPR failures "${failures} + 1")
    endif()
  endforeach()
endforeach()
if(failures GREATER 0)
  message(FATAL_ERROR "${failures} include(s) point up or across the layers")
endif()
