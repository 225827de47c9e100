# The resources listed in res/manifest.txt ("type name file" per line), put
# where the program's resource table (assets/Resources.cpp) finds them.

# Reads the manifest into three parallel lists: types, names and the files'
# absolute paths.
function(read_resource_manifest manifest out_types out_names out_files)
  get_filename_component(res_dir "${manifest}" DIRECTORY)
  file(STRINGS "${manifest}" lines)
  set(types "")
  set(names "")
  set(files "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    string(REGEX REPLACE "[ \t]+" ";" fields "${line}")
    list(LENGTH fields count)
    if(NOT count EQUAL 3)
      message(FATAL_ERROR "${manifest}: expected 'type name file' in: ${line}")
    endif()
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 2 file)
    set(path "${res_dir}/${file}")
    if(NOT EXISTS "${path}")
      message(FATAL_ERROR "${manifest}: missing resource file ${path}")
    endif()
    list(APPEND types "${type}")
    list(APPEND names "${name}")
    list(APPEND files "${path}")
  endforeach()
  set(${out_types} "${types}" PARENT_SCOPE)
  set(${out_names} "${names}" PARENT_SCOPE)
  set(${out_files} "${files}" PARENT_SCOPE)
endfunction()

# Writes an assembler file that embeds every listed file with .incbin, plus
# the table of (type, name, data, size) entries that assets/Resources.cpp
# searches at run time.  No bytes pass through C arrays, so re-embedding a
# multi-megabyte file costs one assembler run.
function(embed_resources manifest out_asm out_files)
  read_resource_manifest("${manifest}" types names files)
  set(data "")
  set(table "")
  set(strings "")
  set(index 0)
  foreach(type name path IN ZIP_LISTS types names files)
    string(APPEND data "    .balign 16\nqh_res_data_${index}:\n    .incbin \"${path}\"\nqh_res_end_${index}:\n")
    string(APPEND table "    .quad qh_res_type_${index}, qh_res_name_${index}, qh_res_data_${index}, qh_res_end_${index} - qh_res_data_${index}\n")
    string(APPEND strings "qh_res_type_${index}: .asciz \"${type}\"\nqh_res_name_${index}: .asciz \"${name}\"\n")
    math(EXPR index "${index} + 1")
  endforeach()
  set(asm "/* Generated from ${manifest}; do not edit. */\n")
  string(APPEND asm "    .section .rodata\n${data}${strings}")
  string(APPEND asm "    .section .data.rel.ro,\"aw\"\n    .balign 8\n    .globl qhEmbeddedResources\nqhEmbeddedResources:\n${table}")
  string(APPEND asm "    .globl qhEmbeddedResourceCount\nqhEmbeddedResourceCount:\n    .quad ${index}\n")
  if(NOT WIN32)   # ELF only: the data needs no executable stack
    string(APPEND asm "    .section .note.GNU-stack,\"\",@progbits\n")
  endif()
  file(CONFIGURE OUTPUT "${out_asm}" CONTENT "${asm}" @ONLY)
  set(${out_files} "${files}" PARENT_SCOPE)
endfunction()

# For a build whose resources arrive in a data file at run time: a
# compiled-in table that names every resource but holds no bytes, so the
# program can tell a data file that lacks some (one of another build).
function(name_resources manifest out_source)
  read_resource_manifest("${manifest}" types names files)
  set(rows "")
  foreach(type name IN ZIP_LISTS types names)
    string(APPEND rows "    {\"${type}\", \"${name}\", nullptr, 0},\n")
  endforeach()
  list(LENGTH names count)
  file(CONFIGURE OUTPUT "${out_source}" CONTENT
       "// Generated from ${manifest}; do not edit.  The bytes arrive at run time.\n#include \"assets/Resources.h\"\n\nextern \"C\" const ResourceEntry qhEmbeddedResources[] = {\n${rows}};\nextern \"C\" const std::uint64_t qhEmbeddedResourceCount = ${count};\n")
endfunction()
