# The translation module's portable parts (driver/multilng) under the sanitizers, and the checks of the
# translations: the PO sources against the string table, and the message file builder.
add_executable(msg_catalog_tests msg_catalog_test.cpp)
target_link_libraries(msg_catalog_tests PRIVATE tolvan_msg_catalog gtest_main)
gtest_discover_tests(msg_catalog_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)

foreach(name po_files msgbuild)
    add_test(NAME translations_${name}
             COMMAND ${PYTHON3} -m pytest -q -p no:cacheprovider ${CMAKE_CURRENT_SOURCE_DIR}/test_${name}.py
             WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(translations_${name} PROPERTIES
        LABELS native
        ENVIRONMENT "TOLVAN_SOURCE=${CMAKE_SOURCE_DIR};TOLVAN_MSGBUILD=${TOLVAN_MSGBUILD};PYTHONDONTWRITEBYTECODE=1"
        TIMEOUT 120)
endforeach()
