# The version block's header and the application manifest, made from the
# program's identity (the top-level CMakeLists.txt) into the build's res/,
# where the resource compiler finds them.

# A version as the version block's text shows it: the first part as it is,
# the others in two digits ("1.0.2.0" gives "1.00.02.00").
function(t7105_version_text version out)
  string(REPLACE "." ";" parts "${version}")
  list(POP_FRONT parts text)
  foreach(part IN LISTS parts)
    if(part LESS 10)
      string(APPEND text ".0${part}")
    else()
      string(APPEND text ".${part}")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

t7105_version_text(${PROJECT_VERSION} T7105_FILE_VERSION_TEXT)
t7105_version_text(${T7105_PRODUCT_VERSION} T7105_PRODUCT_VERSION_TEXT)
string(REPLACE "." "," T7105_FILE_VERSION_COMMAS "${PROJECT_VERSION}")
string(REPLACE "." "," T7105_PRODUCT_VERSION_COMMAS "${T7105_PRODUCT_VERSION}")

set(T7105_REPORT_DESCRIPTION "Camera configuration report")
set(T7105_RESOURCE_DIR ${PROJECT_BINARY_DIR}/res)
configure_file(${PROJECT_SOURCE_DIR}/res/version.h.in ${T7105_RESOURCE_DIR}/version.h @ONLY)

# Each executable's application manifest, named and described as it is.
# WITHOUT_COMMENTS leaves out the template's XML comments, which would take
# the report's resources past a 512-byte block of its file.
function(t7105_manifest name description)
  set(T7105_MANIFEST_NAME ${name})
  set(T7105_MANIFEST_DESCRIPTION ${description})
  set(template ${PROJECT_SOURCE_DIR}/res/app.manifest.in)
  if(ARGN STREQUAL "WITHOUT_COMMENTS")
    file(READ ${template} content)
    string(REGEX REPLACE "[ ]*<!--[^>]*-->\n" "" content "${content}")
    file(CONFIGURE OUTPUT ${T7105_RESOURCE_DIR}/${name}.manifest CONTENT "${content}" @ONLY)
  else()
    configure_file(${template} ${T7105_RESOURCE_DIR}/${name}.manifest @ONLY)
  endif()
endfunction()
t7105_manifest(T7105Cfg "${PROJECT_DESCRIPTION}")
t7105_manifest(T7105Report "${T7105_REPORT_DESCRIPTION}" WITHOUT_COMMENTS)
set(CMAKE_RC_FLAGS "${CMAKE_RC_FLAGS} -I${T7105_RESOURCE_DIR}")
