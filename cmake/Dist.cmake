# Copies a finished program into dist/ after every build of it.
function(velmora_dist target)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory "${VELMORA_DIST_DIR}"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:${target}>" "${VELMORA_DIST_DIR}/"
    VERBATIM)
endfunction()
