# Run by `cmake --install`: writes the desktop entry with the installed
# program's path (the prefix is only known now), and refreshes the desktop's
# caches when installing straight into a prefix (not into a DESTDIR staging tree).
# Expects TABWRIGHT_DESKTOP_TEMPLATE.

# The Exec key quotes the path; inside the quotes ", `, $ and \ take a
# backslash, every backslash is doubled again as in any desktop entry string,
# and % is written %%.
set(exec "${CMAKE_INSTALL_PREFIX}/bin/tabwright")
string(REPLACE "\\" "\\\\\\\\" exec "${exec}")
string(REPLACE "\"" "\\\\\"" exec "${exec}")
string(REPLACE "`" "\\\\`" exec "${exec}")
string(REPLACE "$" "\\\\$" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(TABWRIGHT_EXEC "\"${exec}\"")
set(entry "${CMAKE_INSTALL_PREFIX}/share/applications/tabwright.desktop")
message(STATUS "Installing: $ENV{DESTDIR}${entry}")
configure_file("${TABWRIGHT_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")

if("$ENV{DESTDIR}" STREQUAL "")
  set(share "${CMAKE_INSTALL_PREFIX}/share")
  find_program(update_mime update-mime-database)
  find_program(update_desktop update-desktop-database)
  find_program(update_icons gtk-update-icon-cache)
  if(update_mime)
    execute_process(COMMAND "${update_mime}" "${share}/mime" OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(update_desktop)
    execute_process(COMMAND "${update_desktop}" -q "${share}/applications" OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(update_icons)
    execute_process(COMMAND "${update_icons}" -q -t -f "${share}/icons/hicolor" OUTPUT_QUIET ERROR_QUIET)
  endif()
endif()
