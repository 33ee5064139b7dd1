# Libraries the bar does not need to show itself are loaded when first used,
# not at the program's start, where loading them is part of the time before
# the bar is on the screen: the sound libraries (waveOut, the Audio
# Compression Manager) when a station first plays, the shell's when the tray
# icon is added or a page opened, the common controls' once the bar is on the
# screen.
#
# velmorin_delayed_libraries(<out-var> <name>...) sets what to link for the
# named system libraries. With MinGW these are delay-load import libraries
# that dlltool makes from cmake/delayload/<name>.def, followed by the
# ordinary import libraries: a function missing from the .def still links,
# but then loads its library at the start again (add it to the .def). With
# Visual Studio the program's link options do the same
# (velmorin_delay_load).
set(VELMORIN_DELAYED_LIBRARIES msacm32 winmm shell32 comctl32)

function(velmorin_delayed_libraries out)
  if(NOT MINGW)
    set(${out} ${ARGN} PARENT_SCOPE)
    return()
  endif()
  if(NOT CMAKE_DLLTOOL)
    find_program(CMAKE_DLLTOOL NAMES ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32-dlltool dlltool REQUIRED)
  endif()
  set(libraries "")
  foreach(name IN LISTS ARGN)
    if(NOT TARGET velmorin_delay_${name})
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
    endif()
    list(APPEND libraries velmorin_delay_${name})
  endforeach()
  set(${out} ${libraries} ${ARGN} PARENT_SCOPE)
endfunction()

# The Visual Studio side, for the program itself.
function(velmorin_delay_load target)
  if(MSVC)
    foreach(name IN LISTS VELMORIN_DELAYED_LIBRARIES)
      target_link_options(${target} PRIVATE /DELAYLOAD:${name}.dll)
    endforeach()
    target_link_libraries(${target} PRIVATE delayimp)
  endif()
endfunction()
