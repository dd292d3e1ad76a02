# Helpers of the install scripts that write desktop entries naming a program
# by its full path, known only when installing.

# Exec's quoting: a path with a blank or a shell character goes in double
# quotes, with \ " ` $ escaped; then every backslash is doubled once more,
# as in any string value of a desktop file. % starts a field code.
function(exec_quoted var path)
  string(REPLACE "%" "%%" path "${path}")
  if(path MATCHES "[^A-Za-z0-9_./+,:@=%-]")
    string(REPLACE "\\" "\\\\" path "${path}")
    string(REPLACE "\"" "\\\"" path "${path}")
    string(REPLACE "`" "\\`" path "${path}")
    string(REPLACE "$" "\\$" path "${path}")
    string(REPLACE "\\" "\\\\" path "${path}")
    set(path "\"${path}\"")
  endif()
  set(${var} "${path}" PARENT_SCOPE)
endfunction()

# VAR: dir under the install prefix, unless it is absolute.
function(under_prefix var dir)
  if(IS_ABSOLUTE "${dir}")
    set(${var} "${dir}" PARENT_SCOPE)
  else()
    set(${var} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()
