# The package's generated content: page texts, device cabinet, pictures and icon.
# Every build makes the same bytes.
set(PACKAGE_CONTENT_DIR ${CMAKE_BINARY_DIR}/package_content)
set(SHIPPED_CABINET_SIZE 9025285)
file(MAKE_DIRECTORY ${PACKAGE_CONTENT_DIR})

add_custom_command(
    OUTPUT ${PACKAGE_CONTENT_DIR}/readme.bin
    COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/make_page_text.py ${CMAKE_SOURCE_DIR}/resources/readme.txt ${PACKAGE_CONTENT_DIR}/readme.bin
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_page_text.py ${CMAKE_SOURCE_DIR}/resources/readme.txt)
add_custom_command(
    OUTPUT ${PACKAGE_CONTENT_DIR}/agreement.bin
    COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/make_page_text.py ${CMAKE_SOURCE_DIR}/resources/agreement.txt ${PACKAGE_CONTENT_DIR}/agreement.bin
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_page_text.py ${CMAKE_SOURCE_DIR}/resources/agreement.txt)
add_custom_command(
    OUTPUT ${PACKAGE_CONTENT_DIR}/ztl.arm.CAB
    COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/make_cabinet.py ${PACKAGE_CONTENT_DIR}/ztl.arm.CAB ${SHIPPED_CABINET_SIZE}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_cabinet.py)
set(PICTURES picture.bmp logo.bmp banner.bmp setup.ico)
list(TRANSFORM PICTURES PREPEND ${PACKAGE_CONTENT_DIR}/ OUTPUT_VARIABLE PICTURE_FILES)
add_custom_command(
    OUTPUT ${PICTURE_FILES}
    COMMAND ${HOST_PYTHON} ${CMAKE_SOURCE_DIR}/scripts/make_pictures.py ${PACKAGE_CONTENT_DIR}
    DEPENDS ${CMAKE_SOURCE_DIR}/scripts/make_pictures.py)

set(PACKAGE_CONTENT_FILES
    ${PACKAGE_CONTENT_DIR}/readme.bin ${PACKAGE_CONTENT_DIR}/agreement.bin
    ${PACKAGE_CONTENT_DIR}/ztl.arm.CAB ${PICTURE_FILES})
add_custom_target(package_content DEPENDS ${PACKAGE_CONTENT_FILES})

# Everything a resource script of the package may bind in.
file(GLOB PACKAGE_RESOURCE_SCRIPTS ${CMAKE_SOURCE_DIR}/resources/*.rc ${CMAKE_SOURCE_DIR}/resources/*.h)
set(PACKAGE_RESOURCE_INPUTS ${PACKAGE_CONTENT_FILES} ${PACKAGE_RESOURCE_SCRIPTS} ${CMAKE_SOURCE_DIR}/resources/ztl_arm.ini)
