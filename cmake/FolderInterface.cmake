# vv_folder_interface(<target>): the target's folder becomes includable as
# "<folder>/X.h" by whoever links the target, and nothing else of the source
# tree does: the include path is a folder holding one link to this one, so an
# include of another folder's header fails to build unless the target links
# that folder's target.
function(vv_folder_interface target)
    vv_interface_link(${target} "${CMAKE_CURRENT_BINARY_DIR}/interface" "${CMAKE_CURRENT_SOURCE_DIR}")
endfunction()

# The include folder INTERFACE of TARGET: one link, named after SOURCE's folder, to SOURCE.
function(vv_interface_link target interface source)
    get_filename_component(folder "${source}" NAME)
    file(MAKE_DIRECTORY "${interface}")
    if(NOT EXISTS "${interface}/${folder}")
        file(CREATE_LINK "${source}" "${interface}/${folder}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${interface}")
endfunction()

# vv_layer(<target> <folder> [SOURCES ...] LINKS ...): the folder's files (its
# entries of VV_CORE_SOURCES unless SOURCES names them) as a static library
# that links LINKS publicly and is includable as "<folder>/X.h" by whoever
# links it, and by nobody else.
function(vv_layer target folder)
    cmake_parse_arguments(ARG "" "" "SOURCES;LINKS" ${ARGN})
    set(sources ${ARG_SOURCES})
    if(NOT sources)
        set(sources ${VV_CORE_SOURCES})
        list(FILTER sources INCLUDE REGEX "^${folder}/")
    endif()
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${ARG_LINKS})
    vv_interface_link(${target} "${CMAKE_BINARY_DIR}/interfaces/${target}" "${PROJECT_SOURCE_DIR}/${folder}")
endfunction()
