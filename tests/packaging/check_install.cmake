# cmake -DBUILD_DIR=... -DSTAGE=... -DPROGRAMS=a,b -DVERSION=... -P check_install.cmake
# Installs BUILD_DIR under STAGE with the prefix /usr, checks the files, runs every installed
# program with --version and validates the desktop entry, AppStream data and file types.
# Reports SKIPPED (after every other check passed) when a validator is not installed.
string(REPLACE "," ";" programs "${PROGRAMS}")
file(REMOVE_RECURSE ${STAGE})

function(Run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "failed (${status}): ${ARGN}\n${out}${err}")
  endif()
  set(run_output "${out}" PARENT_SCOPE)
endfunction()

Run(${CMAKE_COMMAND} -E env DESTDIR=${STAGE} ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix /usr)
set(root ${STAGE}/usr)
set(share ${root}/share)
set(id io.github.varnel.WrdMaker)

set(expected
  ${share}/applications/${id}.desktop
  ${share}/metainfo/${id}.metainfo.xml
  ${share}/mime/packages/varnel-wrd-maker.xml
  ${share}/icons/hicolor/scalable/apps/varnel-wrd-maker.svg)
foreach(size 16 24 32 48 64 128 256)
  list(APPEND expected ${share}/icons/hicolor/${size}x${size}/apps/varnel-wrd-maker.png)
endforeach()
foreach(program ${programs})
  list(APPEND expected ${root}/bin/${program} ${share}/man/man1/${program}.1
    ${share}/man/ja/man1/${program}.1)
endforeach()
foreach(path ${expected})
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "not installed: ${path}")
  endif()
endforeach()

foreach(program ${programs})
  Run(${root}/bin/${program} --version)
  if(NOT run_output STREQUAL "${program} ${VERSION}\n")
    message(FATAL_ERROR "${program} --version printed \"${run_output}\"")
  endif()
endforeach()

set(missing)
foreach(tool desktop-file-validate appstreamcli update-mime-database)
  find_program(${tool}_exe ${tool})
  if(NOT ${tool}_exe)
    list(APPEND missing ${tool})
  endif()
endforeach()
if(desktop-file-validate_exe)
  Run(${desktop-file-validate_exe} ${share}/applications/${id}.desktop)
endif()
if(appstreamcli_exe)
  Run(${appstreamcli_exe} validate --no-net ${share}/metainfo/${id}.metainfo.xml)
endif()
if(update-mime-database_exe)
  Run(${update-mime-database_exe} ${share}/mime)
  file(READ ${share}/mime/globs2 globs)
  foreach(type "application/x-varnel-wrd-project:\\*\\.vwm" "application/x-varnel-wrd:\\*\\.vnl")
    if(NOT globs MATCHES "${type}")
      message(FATAL_ERROR "the file types are not in the MIME database: ${type}")
    endif()
  endforeach()
endif()
if(missing)
  message("SKIPPED: the files are in place, but these validators are not installed: ${missing}")
endif()
