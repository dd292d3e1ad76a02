# install_gzipped(FILE DESTINATION): installs FILE, relative to the current
# source folder, as DESTINATION/<name>.gz. gzip -9n leaves out the name and
# time stamp, so every build gives the same bytes (Debian asks for that).
function(install_gzipped file destination)
  get_filename_component(name ${file} NAME)
  set(copy ${CMAKE_CURRENT_BINARY_DIR}/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/${file} ${copy}
    COMMAND gzip -9nf ${copy}
    DEPENDS ${file}
    COMMENT "Compressing ${name}"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${copy}.gz)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()
