# The translation module: the program's loader with the built MultiLng.dll and Tolvan.msg, the module's own
# exports, builds of the module that lack one export, and a message file whose translation is too long for the
# program's buffers.
foreach(variant no_dialog no_menu)
    add_library(multilng_${variant} SHARED $<TARGET_OBJECTS:tolvan_multilng_objects> multilng_${variant}.def)
    target_link_libraries(multilng_${variant} PRIVATE tolvan_msg_catalog)
    set_target_properties(multilng_${variant} PROPERTIES
        PREFIX ""
        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/lib)
endforeach()
tolvan_message_file(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/long/Tolvan.msg PO ${CMAKE_CURRENT_SOURCE_DIR}/data/long_de.po)
add_custom_target(long_message_file DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/long/Tolvan.msg)

tolvan_unit_test(translation_module_tests translation_module_test.cpp multilng_exports_test.cpp translation_test.rc)
target_link_libraries(translation_module_tests PRIVATE tolvan_modules_translation comctl32)
add_dependencies(translation_module_tests MultiLng message_file multilng_no_dialog multilng_no_menu long_message_file)
tolvan_path_definitions(translation_module_tests PRIVATE
    TOLVAN_MULTILNG_DLL ${TOLVAN_DRIVER_DIR}/MultiLng.dll
    TOLVAN_MESSAGE_FILE ${TOLVAN_DRIVER_DIR}/Tolvan.msg
    TOLVAN_MULTILNG_NO_DIALOG_DLL ${CMAKE_CURRENT_BINARY_DIR}/multilng_no_dialog.dll
    TOLVAN_MULTILNG_NO_MENU_DLL ${CMAKE_CURRENT_BINARY_DIR}/multilng_no_menu.dll
    TOLVAN_LONG_MESSAGE_FILE ${CMAKE_CURRENT_BINARY_DIR}/long/Tolvan.msg)

# Without a language request the module follows the user's UI language, which Wine takes from the locale.
foreach(locale "de_DE.UTF-8;0407" "fr_FR.UTF-8;040c")
    list(GET locale 0 name)
    list(GET locale 1 language)
    add_test(NAME translation_module_in_${name}
             COMMAND translation_module_tests --gtest_filter=TranslationLocale.*)
    set_tests_properties(translation_module_in_${name} PROPERTIES
        LABELS wine
        ENVIRONMENT "LC_ALL=${name};TOLVAN_EXPECTED_UI_LANGUAGE=${language}"
        TIMEOUT 60)
endforeach()
