# Each subsystem folder is reached as "<name>/Header.h" only by the targets
# that link one of its libraries. A folder's headers are exposed through a
# root of their own in the build tree holding a single link <name> to the
# folder, so a target sees the folders of its own dependencies and nothing
# else: an include of a layer above fails to compile.
#   talvo_public_headers(<target> <name> [<path>])
# <path> is the folder or single header to expose (default: this folder).
function(talvo_public_headers target name)
  set(source ${CMAKE_CURRENT_SOURCE_DIR})
  if(ARGC GREATER 2)
    set(source ${ARGV2})
  endif()
  string(MAKE_C_IDENTIFIER "${target}" root_name)
  set(root ${CMAKE_BINARY_DIR}/include/${root_name})
  get_filename_component(link_parent ${root}/${name} DIRECTORY)
  file(MAKE_DIRECTORY ${link_parent})
  file(CREATE_LINK ${source} ${root}/${name} SYMBOLIC)
  get_target_property(kind ${target} TYPE)
  if(kind STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
