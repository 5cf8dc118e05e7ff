# The setup program links no C runtime: its own entry point, system DLLs only.
set(SETUP_COMPILE_OPTIONS
    -Os -Wall -Wextra
    -fno-exceptions -fno-rtti -fno-threadsafe-statics
    -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-stack-protector
    # Keeps GCC from turning byte loops into memset/memcpy calls nobody supplies.
    -fno-tree-loop-distribute-patterns
    -ffunction-sections -fdata-sections)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    set(SETUP_ENTRY _SetupEntry)
    set(SETUP_SUBSYSTEM windows:4.0)
else()
    set(SETUP_ENTRY SetupEntry)
    set(SETUP_SUBSYSTEM windows)  # 64-bit Windows starts at 5.2
endif()

set(SETUP_LINK_OPTIONS
    -nostdlib -s
    -Wl,-e,${SETUP_ENTRY}
    -Wl,--subsystem,${SETUP_SUBSYSTEM}
    -Wl,--major-os-version,4 -Wl,--minor-os-version,0
    -Wl,--gc-sections -Wl,--no-insert-timestamp)

# add_setup_executable(NAME RESOURCE_SCRIPT OUTPUT_DIR [LINKER_LAYOUT]): the program
# with one package. LINKER_LAYOUT leaves the sections where the linker put them,
# for comparing image layouts only.
function(add_setup_executable name script output_dir)
    cmake_parse_arguments(PARSE_ARGV 3 SETUP "LINKER_LAYOUT" "" "")
    add_executable(${name} WIN32 ${script})
    target_link_libraries(${name} PRIVATE setup_code pages_code package_code kernel32 user32 gdi32 advapi32)
    target_link_options(${name} PRIVATE ${SETUP_LINK_OPTIONS})
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/resources ${PACKAGE_CONTENT_DIR})
    set_source_files_properties(${script} PROPERTIES OBJECT_DEPENDS "${PACKAGE_RESOURCE_INPUTS}")
    add_dependencies(${name} package_content)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME setup RUNTIME_OUTPUT_DIRECTORY ${output_dir})
    # windres writes code page 0 on every resource entry; the package declares 1252.
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/set_resource_codepage.py $<TARGET_FILE:${name}> 1252)
    if(SETUP_LINKER_LAYOUT)
        return()
    endif()
    # Wine maps a section from the file only at a page-aligned file offset and
    # copies any other into memory at load: the resources, nearly the whole
    # file, start on a page so the package is never copied before the first page.
    add_custom_command(TARGET ${name} POST_BUILD
        COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/page_align_resources.py $<TARGET_FILE:${name}>)
endfunction()
