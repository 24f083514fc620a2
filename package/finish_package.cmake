# Run by cpack between staging the installed files and packing them, for what belongs to
# the package alone (cmake --install leaves it out):
# - the programs stripped as Debian strips its own, the compilers' notes (.comment) too;
#   the build tree keeps its symbols for debugging;
# - lintian's overrides, which lintian reads from the package.
set(root ${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
file(GLOB programs ${root}/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_ZELKORA_STRIP} --remove-section=.comment --remove-section=.note ${program}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "cannot strip ${program}")
  endif()
endforeach()
file(MAKE_DIRECTORY ${root}/share/lintian/overrides)
file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides ${root}/share/lintian/overrides/zelkora)
