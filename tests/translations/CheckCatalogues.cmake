# Fails when a translation catalogue is behind the sources or has an entry without its
# translation: lupdate brings a copy of each up to date, which must come out unchanged, and
# no message may be unfinished, vanished or obsolete.
# Run as: cmake -DLUPDATE=<lupdate> -DSOURCES=<list file> -DWORK=<dir>
#               "-DCATALOGUES=<a.ts;b.ts>" "-DOPTIONS=<lupdate options>" -P CheckCatalogues.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
file(MAKE_DIRECTORY ${WORK})
foreach(catalogue IN LISTS CATALOGUES)
    get_filename_component(name ${catalogue} NAME)
    set(copy ${WORK}/${name})
    file(COPY_FILE ${catalogue} ${copy})
    execute_process(COMMAND ${LUPDATE} @${SOURCES} ${OPTIONS} -ts ${copy}
        RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE errors)
    if(NOT status EQUAL 0)
        string(APPEND failures "${name}: lupdate failed: ${errors}\n")
        continue()
    endif()
    file(READ ${catalogue} before)
    file(READ ${copy} after)
    if(NOT before STREQUAL after)
        string(APPEND failures "${name}: not up to date with the sources; run "
            "`cmake --build --preset dev --target update_translations` and translate what is new\n")
    endif()
    # Each message of the updated copy, whole, so the report can name the texts.
    string(REGEX MATCHALL "<message[^>]*>([^<]|<[^/]|</[^m])*</message>" messages "${after}")
    set(count 0)
    foreach(message IN LISTS messages)
        if(message MATCHES "type=\"(unfinished|vanished|obsolete)\"")
            set(kind ${CMAKE_MATCH_1})
            string(REGEX MATCH "<source>([^<]*)</source>" source "${message}")
            math(EXPR count "${count} + 1")
            if(count LESS_EQUAL 20)
                string(APPEND failures "${name}: ${kind}: ${CMAKE_MATCH_1}\n")
            endif()
        endif()
    endforeach()
    if(count GREATER 20)
        string(APPEND failures "${name}: ... ${count} entries in all without their translation\n")
    endif()
endforeach()

if(failures)
    message(FATAL_ERROR "Translation catalogues incomplete:\n${failures}")
endif()
