# Fails when a source file under src/ includes a header from a layer above its own.
# Run as: cmake -DSOURCE_DIR=<repo>/src [-DDOT=layers.dot] -P CheckLayers.cmake
# With DOT, the graph of which layer includes which is also written for graphviz.
#
# Each folder is one layer. A layer may include from itself and from the layers listed
# after it in this table, nothing else; a folder missing from the table is an error, so a
# new folder must say where it belongs.
cmake_minimum_required(VERSION 3.25)

set(layer_table
    "app/parts:     widgets platform document render model core"
    "app:           app/parts widgets platform/qt platform document render model core"
    "cli:           document render model core"
    "widgets:       document render model core"
    "platform/qt:   platform document render model core"
    "platform:      document render model core"
    "document:      render model core"
    "render:        model core"
    "model:         core"
    "core:")

# Which layer a folder of src/ is in; the longest matching prefix wins.
set(folder_layers
    "app/parts=app/parts" "app=app" "cli=cli" "widgets=widgets"
    "platform/qt=platform/qt" "platform=platform" "document=document"
    "text/render=render" "imaging/render=render" "sheet/render=render"
    "tileset=model" "imaging=model" "text=model" "editing=model" "sheet=model"
    "lettering=model" "core=core")

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
        if(NOT target IN_LIST allowed_${own})
            message(SEND_ERROR "${source} (${own}) includes ${header} (${target}): that points up")
            math(EXPR failures "${failures} + 1")
        endif()
    endforeach()
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
