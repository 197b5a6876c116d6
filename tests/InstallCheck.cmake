# Installs the build under a scratch prefix and checks what a desktop user
# needs: both programs, the data folder with its decoration library and help,
# the icon, and a desktop entry that starts the program in the data folder.
# Usage: cmake -DBUILD=<build dir> -DPREFIX=<scratch prefix> -P InstallCheck.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${result}")
endif()

set(data "${PREFIX}/share/quillon")
foreach(f bin/quillon bin/quillon-frame share/quillon/help/index.html share/quillon/ru.res
          share/quillon/Ornate/_Orn001.bmp "share/quillon/Overlay/Fire ball.bmp"
          "share/quillon/masks/Grainy Edge.jpg" share/icons/hicolor/scalable/apps/quillon.svg
          share/applications/quillon.desktop)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

file(READ "${PREFIX}/share/applications/quillon.desktop" entry)
foreach(line "Exec=${PREFIX}/bin/quillon" "Path=${data}" "Icon=quillon")
  string(FIND "${entry}" "${line}\n" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the desktop entry lacks \"${line}\":\n${entry}")
  endif()
endforeach()
file(REMOVE_RECURSE "${PREFIX}")
