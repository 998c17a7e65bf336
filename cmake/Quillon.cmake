# Build helpers shared by every module.

# quillon_module(NAME SOURCES... [LIBS libs...]): one static library per subsystem,
# included from src/ ("platform/Ini.h", "utils/Thread.h", ...).
function(quillon_module name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# quillon_test(NAME SOURCES... [LIBS libs...]): one GoogleTest executable, run by CTest.
# Tests find their fixtures through QUILLON_FIXTURES and helper programs through QUILLON_BIN.
function(quillon_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main Threads::Threads)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
    target_compile_definitions(${name} PRIVATE
        QUILLON_FIXTURES="${CMAKE_SOURCE_DIR}/tests/fixtures"
        QUILLON_BIN="${CMAKE_BINARY_DIR}/bin")
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8")
endfunction()

# quillon_embed_resources(TARGET [TYPE type ID id FILE path]...): compiles files into TARGET's
# resource table, found at run time by win32::FindResourceW(type, id).
function(quillon_embed_resources target)
    set(args ${ARGN})
    set(asm "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.S")
    set(cpp "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
    set(asm_text "    .section .rodata\n")
    set(cpp_text "#include \"platform/Resources.h\"\n\nextern \"C\" {\n")
    set(table "")
    set(deps "")
    set(index 0)
    list(LENGTH args count)
    while(index LESS count)
        list(SUBLIST args ${index} 6 entry)
        list(GET entry 1 type)
        list(GET entry 3 id)
        list(GET entry 5 file)
        get_filename_component(file "${file}" ABSOLUTE)
        set(sym "quillon_res_${target}_${index}")
        string(MAKE_C_IDENTIFIER "${sym}" sym)
        string(APPEND asm_text "    .global ${sym}_begin\n    .global ${sym}_end\n    .balign 16\n${sym}_begin:\n    .incbin \"${file}\"\n${sym}_end:\n    .byte 0\n")
        string(APPEND cpp_text "extern const unsigned char ${sym}_begin[];\nextern const unsigned char ${sym}_end[];\n")
        string(APPEND table "    {L\"${type}\", ${id}, ${sym}_begin, ${sym}_end},\n")
        list(APPEND deps "${file}")
        math(EXPR index "${index} + 6")
    endwhile()
    string(APPEND asm_text "    .section .note.GNU-stack,\"\",@progbits\n")
    string(APPEND cpp_text "}\n\nnamespace {\nconst win32::ResourceEntry kEntries[] = {\n${table}};\nconst win32::ResourceTableRegistration kRegistration(kEntries, sizeof kEntries / sizeof kEntries[0]);\n}  // namespace\n")
    file(GENERATE OUTPUT "${asm}" CONTENT "${asm_text}")
    file(GENERATE OUTPUT "${cpp}" CONTENT "${cpp_text}")
    set_source_files_properties("${asm}" PROPERTIES OBJECT_DEPENDS "${deps}")
    target_sources(${target} PRIVATE "${asm}" "${cpp}")
endfunction()
