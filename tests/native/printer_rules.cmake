# The copy pages' printer name rules and the RAvud blob under the sanitizers.
add_executable(printer_rules_tests printer_rules_test.cpp)
target_link_libraries(printer_rules_tests PRIVATE gtest_main)
gtest_discover_tests(printer_rules_tests DISCOVERY_TIMEOUT 60 PROPERTIES LABELS native)
