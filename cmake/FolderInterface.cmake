# vv_folder_interface(<target>): the target's folder becomes includable as
# "<folder>/X.h" by whoever links the target, and nothing else of the source
# tree does: the include path is a folder holding one link to this one, so an
# include of another folder's header fails to build unless the target links
# that folder's target.
function(vv_folder_interface target)
    get_filename_component(folder "${CMAKE_CURRENT_SOURCE_DIR}" NAME)
    set(interface "${CMAKE_CURRENT_BINARY_DIR}/interface")
    file(MAKE_DIRECTORY "${interface}")
    if(NOT EXISTS "${interface}/${folder}")
        file(CREATE_LINK "${CMAKE_CURRENT_SOURCE_DIR}" "${interface}/${folder}" SYMBOLIC)
    endif()
    target_include_directories(${target} PUBLIC "${interface}")
endfunction()
