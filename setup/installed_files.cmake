# vorn_installed_files_nsh(LIST OUTPUT): writes the installer's lines for the files of LIST
# (installed-files.txt) as NSIS macros and defines, sources taken from the build folder:
#   InstallProgramFiles / RemoveProgramFiles    the program folder's files
#   ARCHIVER, ARCHIVER_FILE                     the archiver library's name and its source
#   CreateMenuEntries / RemoveMenuEntries       the shortcuts in "$SMPROGRAMS\Vorn"
function(vorn_installed_files_nsh list output)
  file(STRINGS ${list} lines REGEX "^[a-z]")
  set(install_lines "")
  set(remove_lines "")
  set(menu_lines "")
  set(unmenu_lines "")
  set(archiver "")
  foreach(line ${lines})
    string(REGEX MATCHALL "[^ ]+" fields "${line}")
    list(GET fields 0 place)
    list(GET fields 1 name)
    list(GET fields 2 source)
    if(place STREQUAL "program")
      string(APPEND install_lines "  File \"/oname=${name}\" \"${CMAKE_BINARY_DIR}/${source}\"\n")
      string(APPEND remove_lines "  Delete \"$INSTDIR\\${name}\"\n")
    elseif(place STREQUAL "system")
      set(archiver "!define ARCHIVER \"${name}\"\n!define ARCHIVER_FILE \"${CMAKE_BINARY_DIR}/${source}\"\n")
    elseif(place STREQUAL "menu")
      string(APPEND menu_lines "  CreateShortCut \"$SMPROGRAMS\\Vorn\\${name}\" \"$INSTDIR\\${source}\"\n")
      string(APPEND unmenu_lines "  Delete \"$SMPROGRAMS\\Vorn\\${name}\"\n")
    else()
      message(FATAL_ERROR "${list}: unknown place \"${place}\"")
    endif()
  endforeach()
  file(WRITE ${output} "; Made by setup/CMakeLists.txt from installed-files.txt.\n${archiver}"
       "!macro InstallProgramFiles\n${install_lines}!macroend\n!macro RemoveProgramFiles\n${remove_lines}!macroend\n"
       "!macro CreateMenuEntries\n${menu_lines}!macroend\n!macro RemoveMenuEntries\n${unmenu_lines}!macroend\n")
endfunction()
