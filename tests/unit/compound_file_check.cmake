# The structure check against files ole32 writes, the driver's template among them.
tolvan_unit_test(compound_file_check_tests compound_file_check_test.cpp)
add_dependencies(compound_file_check_tests driver_package)
tolvan_windows_path(template_path ${TOLVAN_DRIVER_DIR}/Tolvan.dat)
string(REPLACE "\\" "\\\\" template_c "${template_path}")
target_compile_definitions(compound_file_check_tests PRIVATE TOLVAN_TEMPLATE_FILE="${template_c}")
