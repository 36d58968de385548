# What `cmake --install` puts where: the tools in bin, the stub the packer
# copies by default in share/diskspan, man pages made from the tools' own
# --help, and bash completions. Included from tools/, after the tool targets.
include(GNUInstallDirs)

install(TARGETS diskspan-pack diskspan-extract RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The stub comes from the separate win32 build, so it may not be there yet:
# installed if it is, and said plainly if it is not.
install(FILES "${DISKSPAN_DEFAULT_STUB}" DESTINATION ${CMAKE_INSTALL_DATADIR}/diskspan OPTIONAL)
install(CODE "
  if(NOT EXISTS \"${DISKSPAN_DEFAULT_STUB}\")
    message(WARNING \"diskspan: the installer stub ${DISKSPAN_DEFAULT_STUB} is not built, so it is \"
                    \"not installed and diskspan-pack needs --stub. Build it with \"
                    \"`cmake --preset win32 && cmake --build --preset win32`, then install again.\")
  endif()")

# Man pages, made at build time from each tool's --help and --version, so
# they say what the tools say.
find_program(DISKSPAN_HELP2MAN help2man)

# diskspan_man_page(TARGET NAME-LINE): TARGET.1 in the build dir, built by `all`
# and installed in man1. tools/man/TARGET.h2m adds the sections --help has
# no place for (EXAMPLES, SEE ALSO).
function(diskspan_man_page target name_line)
  set(page "${CMAKE_CURRENT_BINARY_DIR}/man/${target}.1")
  set(include "${PROJECT_SOURCE_DIR}/tools/man/${target}.h2m")
  add_custom_command(
    OUTPUT "${page}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_CURRENT_BINARY_DIR}/man"
    COMMAND "${DISKSPAN_HELP2MAN}" --no-info --name "${name_line}" --include "${include}" --output "${page}"
            $<TARGET_FILE:${target}>
    DEPENDS ${target} "${include}"
    COMMENT "Writing the man page ${target}.1 from ${target} --help"
    VERBATIM)
  add_custom_target(${target}_man_page ALL DEPENDS "${page}")
  install(FILES "${page}" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()

if(DISKSPAN_HELP2MAN)
  diskspan_man_page(diskspan-pack "make a floppy disk set for the Windows installer stub")
  diskspan_man_page(diskspan-extract "list, test and restore a disk set without Windows")
else()
  message(STATUS "help2man not found: no man pages are made or installed (apt-get install help2man)")
  install(CODE "message(WARNING \"diskspan: help2man was not found when this build was configured, so no man pages are installed\")")
endif()

# Bash completions, found by bash-completion under the command's own name.
set(DISKSPAN_COMPLETIONS "${PROJECT_SOURCE_DIR}/tools/completions")
foreach(tool diskspan-pack diskspan-extract)
  install(FILES "${DISKSPAN_COMPLETIONS}/${tool}.bash"
          DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME ${tool})
endforeach()
