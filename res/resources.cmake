# windres writes no dependency file, so a change to a script that Tolvan.rc includes (the dialogs, the string table)
# or to resource.h would not rebuild the resources of the program or of the tests that carry them. Included by every
# folder that compiles Tolvan.rc or strings.rc; source properties hold only in the folder that sets them.
file(GLOB tolvan_resource_parts CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc ${CMAKE_SOURCE_DIR}/res/*.h
     ${CMAKE_SOURCE_DIR}/res/*.manifest)
set_property(SOURCE ${CMAKE_SOURCE_DIR}/res/Tolvan.rc ${CMAKE_SOURCE_DIR}/res/strings.rc APPEND
             PROPERTY OBJECT_DEPENDS ${tolvan_resource_parts})
