# The window region cut from bitmap resources: masks laid out by make_mask_bitmaps.py, and the program's own
# pictures (art.rc from the build's art folder) for its real mask.
set(mask_bitmap_dir ${CMAKE_CURRENT_BINARY_DIR}/mask_bitmaps)
set(mask_bitmap_files ${mask_bitmap_dir}/mask_shapes.bmp ${mask_bitmap_dir}/mask_many.bmp ${mask_bitmap_dir}/mask_rgb.bmp)
add_custom_command(OUTPUT ${mask_bitmap_files}
    COMMAND ${PYTHON3} ${CMAKE_CURRENT_SOURCE_DIR}/make_mask_bitmaps.py ${mask_bitmap_dir}
    DEPENDS make_mask_bitmaps.py VERBATIM)
add_custom_target(mask_test_bitmaps DEPENDS ${mask_bitmap_files})

set(art_dir ${CMAKE_BINARY_DIR}/art)
set_source_files_properties(region_test.rc PROPERTIES OBJECT_DEPENDS
    "${mask_bitmap_files};${art_dir}/art.rc;${art_dir}/bitmap_182.bmp;${art_dir}/bitmap_215.bmp")
tolvan_unit_test(region_from_bitmap_tests region_from_bitmap_test.cpp region_test.rc)
target_link_libraries(region_from_bitmap_tests PRIVATE tolvan_controls)
target_include_directories(region_from_bitmap_tests PRIVATE ${mask_bitmap_dir} ${art_dir})
add_dependencies(region_from_bitmap_tests mask_test_bitmaps tolvan_art)
