# The program's bitmaps and icon are drawn at build time by draw_art.py into ${CMAKE_BINARY_DIR}/art, with
# art.rc naming them for the resource compiler. Included where the program is built; it sets
# TOLVAN_ART_DIR (for the resource include path), TOLVAN_ART_FILES and the target tolvan_art.
find_program(TOLVAN_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH REQUIRED)
set(TOLVAN_ART_DIR ${CMAKE_BINARY_DIR}/art)
set(draw_art ${CMAKE_CURRENT_LIST_DIR}/draw_art.py)
file(GLOB art_scripts CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*.py)

# The script knows which files it writes; asking it keeps the list in one place. A changed script
# reconfigures, so a picture added there is known here.
execute_process(COMMAND ${TOLVAN_PYTHON3} -B ${draw_art} --list OUTPUT_VARIABLE art_names
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${art_scripts})
string(REPLACE "\n" ";" art_names "${art_names}")
list(TRANSFORM art_names PREPEND ${TOLVAN_ART_DIR}/ OUTPUT_VARIABLE TOLVAN_ART_FILES)

add_custom_command(OUTPUT ${TOLVAN_ART_FILES}
                   COMMAND ${TOLVAN_PYTHON3} -B ${draw_art} ${TOLVAN_ART_DIR}
                   DEPENDS ${art_scripts}
                   COMMENT "Drawing the bitmaps and the icon"
                   VERBATIM)
add_custom_target(tolvan_art DEPENDS ${TOLVAN_ART_FILES})
