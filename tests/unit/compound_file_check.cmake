# The structure check against files ole32 writes, the driver's template among them.
tolvan_unit_test(compound_file_check_tests compound_file_check_test.cpp)
add_dependencies(compound_file_check_tests driver_package)
tolvan_path_definitions(compound_file_check_tests PRIVATE TOLVAN_TEMPLATE_FILE ${TOLVAN_DRIVER_DIR}/Tolvan.dat)
