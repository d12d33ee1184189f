# SPDX-License-Identifier: MIT
# The newest entry of packaging/changelog: its version must be the project's,
# and its date is the release date shown in the metainfo.

# Sets <date_var> to the newest entry's date as YYYY-MM-DD.
function(fibmod_latest_release date_var)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog)
    file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog lines)
    list(GET lines 0 heading)
    if(NOT heading MATCHES "^fibmod \\(([^)]+)\\) ")
        message(FATAL_ERROR "packaging/changelog: unreadable first line '${heading}'")
    endif()
    if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
        message(FATAL_ERROR "packaging/changelog is at version ${CMAKE_MATCH_1}, "
                            "the project at ${PROJECT_VERSION}: add an entry for ${PROJECT_VERSION}")
    endif()

    foreach(line IN LISTS lines)
        if(line MATCHES "^ -- .*  [A-Z][a-z][a-z], ([0-9][0-9]?) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
            set(day ${CMAKE_MATCH_1})
            set(month_name ${CMAKE_MATCH_2})
            set(year ${CMAKE_MATCH_3})
            break()
        endif()
    endforeach()
    if(NOT DEFINED year)
        message(FATAL_ERROR "packaging/changelog: no trailer line with a date")
    endif()

    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${month_name} month)
    math(EXPR month "${month} + 1")
    foreach(part IN ITEMS day month)
        if(${part} MATCHES "^[0-9]$")
            set(${part} "0${${part}}")
        endif()
    endforeach()
    set(${date_var} "${year}-${month}-${day}" PARENT_SCOPE)
endfunction()
