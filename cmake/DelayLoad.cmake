# The sound libraries (waveOut, the Audio Compression Manager) are needed only
# once a station plays: the program loads them then, not at its start, where
# loading them is part of the time before the bar shows.
#
# velmorin_sound_libraries(<out-var>) sets the libraries the engine links for
# them. With MinGW these are delay-load import libraries made by dlltool from
# cmake/delayload/<name>.def (a function missing there still links, through
# the ordinary import library behind it, but loads that library at start
# again: add it to the .def). With Visual Studio the program's link options
# do the same (/DELAYLOAD).
function(velmorin_sound_libraries out)
  set(names msacm32 winmm)
  if(NOT MINGW)
    set(${out} ${names} PARENT_SCOPE)
    return()
  endif()
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool dlltool REQUIRED)
  endif()
  set(libraries "")
  foreach(name IN LISTS names)
    set(def ${PROJECT_SOURCE_DIR}/cmake/delayload/${name}.def)
    set(lib ${CMAKE_BINARY_DIR}/delayload/lib${name}_delay.a)
    add_custom_command(OUTPUT ${lib}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/delayload
      COMMAND ${CMAKE_DLLTOOL} --input-def ${def} --output-delaylib ${lib} --dllname ${name}.dll
      DEPENDS ${def}
      COMMENT "Delay-load import library for ${name}.dll"
      VERBATIM)
    add_custom_target(velmorin_delay_${name}_import DEPENDS ${lib})
    add_library(velmorin_delay_${name} INTERFACE)
    target_link_libraries(velmorin_delay_${name} INTERFACE ${lib})
    add_dependencies(velmorin_delay_${name} velmorin_delay_${name}_import)
    list(APPEND libraries velmorin_delay_${name})
  endforeach()
  set(${out} ${libraries} ${names} PARENT_SCOPE)
endfunction()

# The Visual Studio side: the program loads the sound libraries on first use.
function(velmorin_delay_load_sound target)
  if(MSVC)
    target_link_options(${target} PRIVATE /DELAYLOAD:msacm32.dll /DELAYLOAD:winmm.dll)
    target_link_libraries(${target} PRIVATE delayimp)
  endif()
endfunction()
