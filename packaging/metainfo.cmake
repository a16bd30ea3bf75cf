# Writes the AppStream metainfo from its template:
#   cmake -DINPUT=...xml.in -DOUTPUT=...xml -DVERSION=2.0 [-DHOMEPAGE=URL]
#         [-DSCREENSHOT_URL=URL -DSCREENSHOTS="slide-01.png;..."] -P metainfo.cmake
# The homepage and the screenshots are web addresses, so they are only listed when set: a
# software centre would otherwise show a dead link or a broken picture.
set(PROJECT_VERSION ${VERSION})
# Addresses go into XML text.
function(xml_escape var)
    string(REPLACE "&" "&amp;" value "${${var}}")
    string(REPLACE "<" "&lt;" value "${value}")
    string(REPLACE ">" "&gt;" value "${value}")
    set(${var} "${value}" PARENT_SCOPE)
endfunction()
xml_escape(HOMEPAGE)
xml_escape(SCREENSHOT_URL)
set(CURVANA_METAINFO_URLS "")
if(HOMEPAGE)
    string(APPEND CURVANA_METAINFO_URLS "  <url type=\"homepage\">${HOMEPAGE}</url>\n")
endif()
set(CURVANA_METAINFO_SCREENSHOTS "")
if(SCREENSHOT_URL AND SCREENSHOTS)
    string(REGEX REPLACE "/+$" "" base "${SCREENSHOT_URL}")
    set(type " type=\"default\"")
    set(number 1)
    string(APPEND CURVANA_METAINFO_SCREENSHOTS "  <screenshots>\n")
    foreach(shot IN LISTS SCREENSHOTS)
        string(APPEND CURVANA_METAINFO_SCREENSHOTS
            "    <screenshot${type}>\n"
            "      <caption>Slide ${number} of the demo show</caption>\n"
            "      <image>${base}/${shot}</image>\n"
            "    </screenshot>\n")
        set(type "")
        math(EXPR number "${number} + 1")
    endforeach()
    string(APPEND CURVANA_METAINFO_SCREENSHOTS "  </screenshots>\n")
endif()
configure_file(${INPUT} ${OUTPUT} @ONLY)
