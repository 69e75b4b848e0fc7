# The help pages as Qt resources: the page list, one HTML file per page and language and the
# pictures. The resource file is written from the folder's contents, so a new page is one
# HTML file per language and one line in data/help/pages.txt.
set(help_dir ${CMAKE_SOURCE_DIR}/data/help)
file(GLOB help_files CONFIGURE_DEPENDS RELATIVE ${help_dir}
     ${help_dir}/pages.txt ${help_dir}/de/*.html ${help_dir}/en/*.html ${help_dir}/images/*.png)
list(SORT help_files)
set(help_qrc_text "<!DOCTYPE RCC><RCC version=\"1.0\">\n<qresource prefix=\"/help\">\n")
foreach(f ${help_files})
  string(APPEND help_qrc_text "    <file alias=\"${f}\">${help_dir}/${f}</file>\n")
endforeach()
string(APPEND help_qrc_text "</qresource>\n</RCC>\n")
# Written only when it changes, so that an unchanged folder does not rebuild the resources.
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/help/help.qrc CONTENT "${help_qrc_text}" @ONLY)
target_sources(zorva_help PRIVATE ${CMAKE_BINARY_DIR}/help/help.qrc)
