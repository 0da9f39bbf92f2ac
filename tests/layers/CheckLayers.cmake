# Fails when a source file under src/ includes a header from a layer above its own.
# Run as: cmake -DSOURCE_DIR=<repo>/src [-DDOT=layers.dot] -P CheckLayers.cmake
# With DOT, the graph of which layer includes which is also written for graphviz.
#
# Each folder is one layer. A layer may include from itself and from the layers its row
# of the table lists, nothing else; a folder missing from the table is an error, so a
# new folder must say where it belongs.
cmake_minimum_required(VERSION 3.25)

# The Qt-free core, from the top: lettering draws on editing and text, editing on imaging,
# imaging on tileset; text and sheet stand on tileset and core alone. The renderers bring
# QtGui to the layer they draw for.
set(core_layers "lettering editing sheet imaging text tileset core")
set(render_layers "sheet/render text/render imaging/render picture")
set(layer_table
    "app/parts:      widgets platform document ${render_layers} ${core_layers}"
    "app:            app/parts widgets platform/qt platform document ${render_layers} ${core_layers}"
    "cli:            document ${render_layers} ${core_layers}"
    "widgets:        document ${render_layers} ${core_layers}"
    "platform/qt:    platform document ${render_layers} ${core_layers}"
    "platform:       document ${render_layers} ${core_layers}"
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

# Which layer a folder of src/ is in; the longest matching prefix wins.
set(folder_layers
    "app/parts=app/parts" "app=app" "cli=cli" "widgets=widgets"
    "platform/qt=platform/qt" "platform=platform" "document=document"
    "text/render=text/render" "imaging/render=imaging/render" "sheet/render=sheet/render"
    "picture=picture"
    "tileset=tileset" "imaging=imaging" "text=text" "editing=editing" "sheet=sheet"
    "lettering=lettering" "core=core")

function(layer_of path out)
    set(best "")
    set(best_length 0)
    foreach(entry IN LISTS folder_layers)
        string(REPLACE "=" ";" pair "${entry}")
        list(GET pair 0 folder)
        list(GET pair 1 layer)
        string(LENGTH "${folder}" length)
        string(FIND "${path}" "${folder}/" at)
        if(at EQUAL 0 AND length GREATER best_length)
            set(best "${layer}")
            set(best_length ${length})
        endif()
    endforeach()
    set(${out} "${best}" PARENT_SCOPE)
endfunction()

foreach(row IN LISTS layer_table)
    string(REGEX MATCH "^([^:]+):(.*)$" _ "${row}")
    set(name "${CMAKE_MATCH_1}")
    string(STRIP "${CMAKE_MATCH_2}" below)
    string(REGEX REPLACE "[ ]+" ";" below "${below}")
    set("allowed_${name}" "${name};${below}")
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(failures 0)
foreach(source IN LISTS sources)
    layer_of("${source}" own)
    if(own STREQUAL "")
        message(SEND_ERROR "${source}: its folder is in no layer (add it to CheckLayers.cmake)")
        math(EXPR failures "${failures} + 1")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([^\"]+)\"" _ "${line}")
        set(header "${CMAKE_MATCH_1}")
        layer_of("${header}" target)
        if(target STREQUAL "")
            continue() # a generated or local header, not one of ours
        endif()
        if(NOT own STREQUAL target)
            list(APPEND edges "\"${own}\" -> \"${target}\"")
        endif()
        list(APPEND file_edges "${source}>${header}")
        if(NOT target IN_LIST allowed_${own})
            message(SEND_ERROR "${source} (${own}) includes ${header} (${target}): that points up")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
endforeach()

# No two files include each other.
foreach(edge IN LISTS file_edges)
    string(REPLACE ">" ";" pair "${edge}")
    list(GET pair 0 from)
    list(GET pair 1 to)
    if("${to}>${from}" IN_LIST file_edges AND from STRLESS to)
        message(SEND_ERROR "${from} and ${to} include each other")
        math(EXPR failures "${failures} + 1")
    endif()
endforeach()

if(DOT)
    list(REMOVE_DUPLICATES edges)
    list(JOIN edges ";\n    " body)
    file(WRITE "${DOT}" "digraph layers {\n    rankdir=TB;\n    ${body};\n}\n")
endif()

if(failures GREATER 0)
    message(FATAL_ERROR "${failures} include(s) break the layers")
endif()
list(LENGTH sources checked)
message(STATUS "layers: ${checked} files, every include points down")
