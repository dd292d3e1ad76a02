# Debian's hardening flags for every target defined after this is included:
# what dpkg-buildflags gives a package with all hardening features on
# (format security, fortified functions, stack protector, relro and, not on by
# default, bind-now). Asked of dpkg-buildflags when configuring, so that the
# build follows the distribution's choice. -O and -g stay the build type's,
# and fortification, which needs optimisation, is left out of Debug builds.
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  message(WARNING "dpkg-buildflags (package dpkg-dev) not found: building without Debian's hardening flags")
  return()
endif()

# The flags of one kind (CPPFLAGS, CXXFLAGS, LDFLAGS) as a list in out.
function(debian_build_flags kind out)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DEB_BUILD_MAINT_OPTIONS=hardening=+all $ENV{DEB_BUILD_MAINT_OPTIONS}"
            ${DPKG_BUILDFLAGS} --get ${kind}
    WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-(O.*|g)$")
  set(${out} ${flags} PARENT_SCOPE)
endfunction()

debian_build_flags(CPPFLAGS preprocessor)
debian_build_flags(CXXFLAGS compiler)
debian_build_flags(LDFLAGS linker)
foreach(flag IN LISTS preprocessor compiler)
  if(flag MATCHES "^-D_FORTIFY_SOURCE")
    add_compile_options("$<$<NOT:$<CONFIG:Debug>>:${flag}>")
  else()
    add_compile_options("${flag}")
  endif()
endforeach()
add_link_options(${linker})
list(JOIN preprocessor " " shown_preprocessor)
list(JOIN compiler " " shown_compiler)
list(JOIN linker " " shown_linker)
message(STATUS "Debian build flags: ${shown_preprocessor} ${shown_compiler}; linking: ${shown_linker}")
