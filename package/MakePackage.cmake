# Lays out the dezovur package in OUT: setup, its data files and file1.cab, made with gcab from
# the built files. Run by the `package` target in script mode (cmake -P) with:
#   OUT, SOURCE (this folder), DEZOVUR, DEZOVUR_GUI (the windows dezovur starts),
#   SETUP (may be empty), SETUP_WINDOWS (setup's windowed half, which it opens from its own
#   folder; may be empty), ZUNINSTALL (may be empty), ZUNINSTALL_WINDOWS (the library with
#   its windows, which setup puts beside it; may be empty),
#   PRODUCT_NAME, PROJECT_VERSION, GCAB, STRIP (may be empty).
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE "${OUT}" "${OUT}-staging")
file(MAKE_DIRECTORY "${OUT}" "${OUT}-staging")
set(stage "${OUT}-staging")

# The installed files, in the order of datafile.dlr (their position names their member).
# The data files are never replaced on reinstall: they hold the user's jobs.
file(WRITE "${stage}/Ergasies.dat" "")
file(WRITE "${stage}/mix.dat" "")
file(WRITE "${stage}/l.dat" "29350\r\n")
# dezovur opens its windows by starting dezovur-gui, which must lie beside it.
file(COPY "${DEZOVUR}" "${DEZOVUR_GUI}" DESTINATION "${stage}")
if(STRIP)
  # Debugging symbols stay with the build; the package ships the programs alone.
  execute_process(COMMAND "${STRIP}" --strip-debug "${stage}/dezovur" "${stage}/dezovur-gui")
endif()
file(COPY "${SOURCE}/readme.txt" "${SOURCE}/license.txt" "${SOURCE}/dezovur.svg"
     DESTINATION "${stage}")
set(names dezovur dezovur-gui Ergasies.dat mix.dat l.dat readme.txt license.txt dezovur.svg)
set(keep 0 0 1 1 1 0 0 0)

set(dlr "")
set(members "")
set(typeKeys "")
set(i 0)
foreach(name IN LISTS names)
  list(GET keep ${i} k)
  # The source line records where the file was built; setup uses only its name.
  string(APPEND dlr "${stage}/${name}\r\n<Install Dir>*${k},0,0\r\n")
  string(APPEND typeKeys "A${i}=${name}\r\n")
  file(COPY_FILE "${stage}/${name}" "${stage}/F${i}_${name}")
  list(APPEND members "F${i}_${name}")
  math(EXPR i "${i} + 1")
endforeach()
list(LENGTH names FILE_COUNT)
# The readme and licence pages read these two under their own names.
list(APPEND members readme.txt license.txt)
if(ZUNINSTALL)
  file(COPY_FILE "${ZUNINSTALL}" "${stage}/zuninstall.exe")
  list(APPEND members zuninstall.exe)
  if(ZUNINSTALL_WINDOWS)
    file(COPY_FILE "${ZUNINSTALL_WINDOWS}" "${stage}/zuninstall-windows.so")
    list(APPEND members zuninstall-windows.so)
  endif()
  if(STRIP)
    execute_process(COMMAND "${STRIP}" --strip-debug "${stage}/zuninstall.exe")
    if(ZUNINSTALL_WINDOWS)
      execute_process(COMMAND "${STRIP}" --strip-debug "${stage}/zuninstall-windows.so")
    endif()
  endif()
endif()

execute_process(COMMAND "${GCAB}" --create --zip --nopath "${OUT}/file1.cab" ${members}
                WORKING_DIRECTORY "${stage}" RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "gcab could not make file1.cab (${rc})")
endif()

file(WRITE "${OUT}/datafile.dlr" "${dlr}")
set(SETUPTYPE_KEYS "${typeKeys}")
configure_file("${SOURCE}/data.tag.in" "${OUT}/data.tag" @ONLY NEWLINE_STYLE CRLF)
file(COPY "${SOURCE}/language.tag" DESTINATION "${OUT}")
if(SETUP)
  file(COPY "${SETUP}" DESTINATION "${OUT}")
  if(STRIP)
    execute_process(COMMAND "${STRIP}" --strip-debug "${OUT}/setup")
  endif()
  if(SETUP_WINDOWS)
    file(COPY "${SETUP_WINDOWS}" DESTINATION "${OUT}")
    if(STRIP)
      execute_process(COMMAND "${STRIP}" --strip-debug "${OUT}/setup-windows.so")
    endif()
  endif()
else()
  message(WARNING "the setup program is not built yet: the package has no setup")
endif()
file(REMOVE_RECURSE "${stage}")
message(STATUS "package: ${OUT} (${FILE_COUNT} files in file1.cab)")
