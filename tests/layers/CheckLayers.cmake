# Fails when a source file under src/ includes a header from a layer above its own.
# Run as: cmake -DSOURCE_DIR=<repo>/src [-DDOT=layers.dot] -P CheckLayers.cmake
# With DOT, the graph of which layer includes which is also written for graphviz.
#
# Each folder is one layer, a subfolder too (app/window is not app). A layer may include
# from itself and from the layers its row of the table lists, nothing else; a folder
# missing from the table is an error, so a new folder must say where it belongs. Includes
# are read in both spellings, "document/Document.h" and <document/Document.h>. The table
# itself must run one way: no two layers may reach each other, directly or round a circle.
# And no two files include each other.
cmake_minimum_required(VERSION 3.25)

# The Qt-free core, from the top: lettering draws on editing and text, editing on imaging,
# imaging on tileset; text and sheet stand on tileset and core alone. The renderers bring
# QtGui to the layer they draw for. The document stands on them; the widgets and the
# desktop's services know nothing of it; the window's folders stand on all of these, the
# window itself on its commands, panels, dialogs and what they share.
set(core_layers "lettering editing sheet imaging text tileset core")
set(render_layers "sheet/render text/render imaging/render picture")
set(app_base "widgets platform document ${render_layers} ${core_layers}")
set(layer_table
    "app:            app/window platform/qt ${app_base}"
    "app/window:     app/commands app/panels app/dialogs app/shared platform/qt ${app_base}"
    "app/commands:   app/dialogs app/shared ${app_base}"
    "app/panels:     app/dialogs app/shared ${app_base}"
    "app/dialogs:    app/shared platform/qt ${app_base}"
    "app/shared:     ${app_base}"
    "cli:            document ${render_layers} ${core_layers}"
    "widgets:        ${render_layers} ${core_layers}"
    "platform/qt:    platform ${render_layers} ${core_layers}"
    "platform:       ${render_layers} ${core_layers}"
    "document:       ${render_layers} ${core_layers}"
    "sheet/render:   text/render imaging/render sheet imaging text tileset core"
    "text/render:    text core"
    "imaging/render: imaging tileset core"
    "picture:        core"
    "lettering:      editing imaging text tileset core"
    "editing:        imaging tileset core"
    "sheet:          tileset core"
    "imaging:        tileset core"
    "text:           core"
    "tileset:        core"
    "core:")

set(failures 0)
macro(fail text)
    message(SEND_ERROR "${text}")
    math(EXPR failures "${failures} + 1")
endmacro()

set(layers "")
foreach(row IN LISTS layer_table)
    string(REGEX MATCH "^([^:]+):(.*)$" _ "${row}")
    set(name "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" below)
    string(REGEX REPLACE "[ ]+" ";" below "${below}")
    list(APPEND layers "${name}")
    set("below_${name}" "${below}")
    set("allowed_${name}" "${name};${below}")
endforeach()

# The table runs one way: take away, again and again, the layers that stand on nothing
# left; a layer that never goes stands on a circle.
set(left "${layers}")
while(left)
    set(removed "")
    foreach(name IN LISTS left)
        set(standing FALSE)
        foreach(below IN LISTS below_${name})
            if(below IN_LIST left)
                set(standing TRUE)
            endif()
        endforeach()
        if(NOT standing)
            list(APPEND removed "${name}")
        endif()
    endforeach()
    if(NOT removed)
        # Name only the circle: also take away, again and again, the layers nothing left
        # stands on.
        set(peeled TRUE)
        while(peeled)
            set(peeled FALSE)
            foreach(name IN LISTS left)
                set(stood_on FALSE)
                foreach(other IN LISTS left)
                    if(name IN_LIST below_${other})
                        set(stood_on TRUE)
                    endif()
                endforeach()
                if(NOT stood_on)
                    list(REMOVE_ITEM left "${name}")
                    set(peeled TRUE)
                endif()
            endforeach()
        endwhile()
        list(JOIN left ", " circle)
        fail("the layer table runs in a circle among: ${circle}")
        break()
    endif()
    list(REMOVE_ITEM left ${removed})
endwhile()

# The layer of a file: its folder under src/, when the table has it.
function(layer_of path out)
    get_filename_component(folder "${path}" DIRECTORY)
    if(folder IN_LIST layers)
        set(${out} "${folder}" PARENT_SCOPE)
    else()
        set(${out} "" PARENT_SCOPE)
    endif()
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
foreach(source IN LISTS sources)
    layer_of("${source}" own)
    if(own STREQUAL "")
        fail("${source}: its folder is in no layer (add it to CheckLayers.cmake)")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "[\"<]([^\">]+)[\">]" _ "${line}")
        set(header "${CMAKE_MATCH_1}")
        layer_of("${header}" target)
        # Only the project's own headers: a system header may share a folder's name.
        if(target STREQUAL "" OR NOT EXISTS "${SOURCE_DIR}/${header}")
            continue()
        endif()
        if(NOT own STREQUAL target)
            list(APPEND edges "\"${own}\" -> \"${target}\"")
        endif()
        list(APPEND file_edges "${source}>${header}")
        if(NOT target IN_LIST allowed_${own})
            fail("${source} (${own}) includes ${header} (${target}): that points up")
        endif()
    endforeach()
endforeach()

# No two files include each other.
foreach(edge IN LISTS file_edges)
    string(REPLACE ">" ";" pair "${edge}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    if("${to}>${from}" IN_LIST file_edges AND from STRLESS to)
        fail("${from} and ${to} include each other")
    endif()
endforeach()

if(DOT)
    list(REMOVE_DUPLICATES edges)
    list(JOIN edges ";\n    " body)
    file(WRITE "${DOT}" "digraph layers {\n    rankdir=TB;\n    ${body};\n}\n")
endif()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} fault(s) in the layers")
endif()
list(LENGTH sources checked)
message(STATUS "layers: ${checked} files, every include points down")
