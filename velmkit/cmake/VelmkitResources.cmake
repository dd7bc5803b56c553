# velmkit_embed_resources(<target>
#   COMPONENT_NAME <text>                      string 65520 of the string table
#   [STRINGS <id> <text> ...]                  further strings
#   [PWA_APP <zip file>]                       the template archive, embedded whole
#   [ICONS <bmp file> ...]                     MAINICON images, in order
#   [VERSION <a.b.c.d>] [PRODUCT_VERSION <a.b.c.d>]
#   [FILE_FLAGS <n>] [FILE_OS <n>] [FILE_TYPE <n>] [FILE_SUBTYPE <n>]
#   [TRANSLATIONS <language> <codepage> ...]
#   [STRING_TABLES <key> ...]                  e.g. 040904E4 041904E4
#   [VERSION_STRINGS <key> <value> ...]        the same entries in every table
#   [DEPENDS <target or file> ...])
#
# Writes an assembler file that puts the resources into the named ELF
# sections that velmkit's ReadModuleResources reads (layouts in
# velmkit/resources.h), and adds it to <target>. Files are embedded with
# .incbin, so a payload made at build time is picked up when it changes.

function(_velmkit_asm_string out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# A length-prefixed string: u32 byte length, then the bytes.
function(_velmkit_asm_counted out label text)
  _velmkit_asm_string(escaped "${text}")
  set(${out} "  .long .L${label}_end - .L${label}_begin\n.L${label}_begin:\n  .ascii \"${escaped}\"\n.L${label}_end:\n" PARENT_SCOPE)
endfunction()

function(_velmkit_asm_version_parts out version)
  string(REPLACE "." ";" parts "${version}")
  list(LENGTH parts count)
  if(NOT count EQUAL 4)
    message(FATAL_ERROR "velmkit_embed_resources: version '${version}' needs four parts")
  endif()
  list(JOIN parts ", " joined)
  set(${out} "  .short ${joined}\n" PARENT_SCOPE)
endfunction()

function(velmkit_embed_resources target)
  cmake_parse_arguments(PARSE_ARGV 1 ARG ""
    "COMPONENT_NAME;PWA_APP;VERSION;PRODUCT_VERSION;FILE_FLAGS;FILE_OS;FILE_TYPE;FILE_SUBTYPE"
    "STRINGS;ICONS;TRANSLATIONS;STRING_TABLES;VERSION_STRINGS;DEPENDS")
  if(ARG_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "velmkit_embed_resources: unknown arguments ${ARG_UNPARSED_ARGUMENTS}")
  endif()

  set(asm "# Resources of ${target}, made by velmkit_embed_resources.\n")
  set(label 0)
  set(payloads "")

  # String table.
  set(strings ${ARG_STRINGS})
  if(DEFINED ARG_COMPONENT_NAME)
    list(PREPEND strings 65520 "${ARG_COMPONENT_NAME}")
  endif()
  if(strings)
    string(APPEND asm "  .section .velm_strings,\"a\",@progbits\n")
    list(LENGTH strings count)
    math(EXPR last "${count} - 1")
    foreach(i RANGE 0 ${last} 2)
      math(EXPR j "${i} + 1")
      list(GET strings ${i} id)
      list(GET strings ${j} text)
      math(EXPR label "${label} + 1")
      _velmkit_asm_counted(record "velm${label}" "${text}")
      string(APPEND asm "  .long ${id}\n${record}")
    endforeach()
  endif()

  if(ARG_PWA_APP)
    string(APPEND asm "  .section .velm_pwa_app,\"a\",@progbits\n  .incbin \"${ARG_PWA_APP}\"\n")
    list(APPEND payloads "${ARG_PWA_APP}")
  endif()

  if(ARG_ICONS)
    list(LENGTH ARG_ICONS count)
    string(APPEND asm "  .section .velm_icons,\"a\",@progbits\n  .long ${count}\n")
    foreach(icon IN LISTS ARG_ICONS)
      math(EXPR label "${label} + 1")
      string(APPEND asm "  .long .Lvelm${label}_end - .Lvelm${label}_begin\n.Lvelm${label}_begin:\n  .incbin \"${icon}\"\n.Lvelm${label}_end:\n")
      list(APPEND payloads "${icon}")
    endforeach()
  endif()

  if(ARG_VERSION)
    if(NOT ARG_PRODUCT_VERSION)
      set(ARG_PRODUCT_VERSION "${ARG_VERSION}")
    endif()
    foreach(field FILE_FLAGS FILE_OS FILE_TYPE FILE_SUBTYPE)
      if(NOT DEFINED ARG_${field})
        set(ARG_${field} 0)
      endif()
    endforeach()
    _velmkit_asm_version_parts(file_version "${ARG_VERSION}")
    _velmkit_asm_version_parts(product_version "${ARG_PRODUCT_VERSION}")
    string(APPEND asm "  .section .velm_version,\"a\",@progbits\n  .ascii \"VVB1\"\n${file_version}${product_version}")
    string(APPEND asm "  .long ${ARG_FILE_FLAGS}, ${ARG_FILE_OS}, ${ARG_FILE_TYPE}, ${ARG_FILE_SUBTYPE}\n")
    list(LENGTH ARG_TRANSLATIONS count)
    math(EXPR pairs "${count} / 2")
    string(APPEND asm "  .long ${pairs}\n")
    if(pairs GREATER 0)
      math(EXPR last "${count} - 1")
      foreach(i RANGE 0 ${last} 2)
        math(EXPR j "${i} + 1")
        list(GET ARG_TRANSLATIONS ${i} language)
        list(GET ARG_TRANSLATIONS ${j} codepage)
        string(APPEND asm "  .short ${language}, ${codepage}\n")
      endforeach()
    endif()
    list(LENGTH ARG_STRING_TABLES tables)
    list(LENGTH ARG_VERSION_STRINGS count)
    math(EXPR entries "${count} / 2")
    string(APPEND asm "  .long ${tables}\n")
    foreach(table IN LISTS ARG_STRING_TABLES)
      math(EXPR label "${label} + 1")
      _velmkit_asm_counted(record "velm${label}" "${table}")
      string(APPEND asm "${record}  .long ${entries}\n")
      if(entries GREATER 0)
        math(EXPR last "${count} - 1")
        foreach(i RANGE 0 ${last} 2)
          math(EXPR j "${i} + 1")
          list(GET ARG_VERSION_STRINGS ${i} key)
          list(GET ARG_VERSION_STRINGS ${j} value)
          math(EXPR label "${label} + 1")
          _velmkit_asm_counted(key_record "velm${label}" "${key}")
          math(EXPR label "${label} + 1")
          _velmkit_asm_counted(value_record "velm${label}" "${value}")
          string(APPEND asm "${key_record}${value_record}")
        endforeach()
      endif()
    endforeach()
  endif()

  string(APPEND asm "  .section .note.GNU-stack,\"\",@progbits\n")
  set(asm_file "${CMAKE_CURRENT_BINARY_DIR}/${target}_velm_resources.S")
  file(GENERATE OUTPUT "${asm_file}" CONTENT "${asm}")
  target_sources(${target} PRIVATE "${asm_file}")

  set(depends ${payloads})
  foreach(dependency IN LISTS ARG_DEPENDS)
    if(TARGET ${dependency})
      add_dependencies(${target} ${dependency})
    else()
      list(APPEND depends "${dependency}")
    endif()
  endforeach()
  set_source_files_properties("${asm_file}" PROPERTIES LANGUAGE ASM OBJECT_DEPENDS "${depends}")
endfunction()
