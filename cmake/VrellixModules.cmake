# Each folder of the core is a static library of its own. Code includes its
# headers as "folder/file.h" with src/ as the root, but a library's include
# path holds only a link to its own folder: a library sees its own headers and
# those of the libraries it links, and an include against that graph fails to
# compile.

# Adds <build>/include/<folder>, which holds nothing but the link
# <folder> -> src/<folder>, to target's include path.
function(vrellix_folder_includes target folder scope)
  set(root "${PROJECT_BINARY_DIR}/include/${folder}")
  file(MAKE_DIRECTORY "${root}")
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/src/${folder}" "${root}/${folder}" RESULT failed SYMBOLIC)
  if(failed)
    # Windows allows symbolic links only in developer mode: build all the
    # same, without the check.
    message(STATUS "No symbolic link for src/${folder} (${failed}); the include graph is not checked")
    set(root "${PROJECT_SOURCE_DIR}/src")
  endif()
  target_include_directories(${target} ${scope} "${root}")
endfunction()

# vrellix_module(<folder> SOURCES file... [DEPENDS library...] [PRIVATE library...])
# The library vrellix_<folder> from src/<folder>. DEPENDS names the libraries
# that its headers include, which its users then see as well; PRIVATE those
# that only its sources include.
function(vrellix_module folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;DEPENDS;PRIVATE")
  add_library(vrellix_${folder} STATIC ${arg_SOURCES})
  vrellix_folder_includes(vrellix_${folder} ${folder} PUBLIC)
  target_link_libraries(vrellix_${folder} PUBLIC ${arg_DEPENDS} PRIVATE ${arg_PRIVATE})
endfunction()
