# Turns the package's file list into the installer's two macros: one installs every file into the output folder,
# the other deletes each of them from the installation folder.
#   cmake -DMANIFEST=files.txt -DOUTPUT=package_files.nsh -P nsis_file_macros.cmake
file(STRINGS ${MANIFEST} files)
set(install "")
set(remove "")
foreach(file IN LISTS files)
    get_filename_component(name ${file} NAME)
    string(APPEND install "    File \"${file}\"\n")
    string(APPEND remove "    Delete \"$INSTDIR\\${name}\"\n")
endforeach()
file(WRITE ${OUTPUT}.new
     "!macro INSTALL_PACKAGE_FILES\n${install}!macroend\n!macro REMOVE_PACKAGE_FILES\n${remove}!macroend\n")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
