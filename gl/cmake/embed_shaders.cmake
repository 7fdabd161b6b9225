# Writes a C++ source that holds each GLSL file as a zero-terminated character array.
# Inputs: SHADER_DIR, OUTPUT, SHADERS (file=symbol pairs separated by |).
string(REPLACE "|" ";" SHADERS "${SHADERS}")
set(definitions "")
set(table "")
set(count 0)
foreach(pair IN LISTS SHADERS)
    string(REPLACE "=" ";" parts "${pair}")
    list(GET parts 0 file)
    list(GET parts 1 symbol)
    file(READ "${SHADER_DIR}/${file}" bytes HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
    if(bytes MATCHES "0x[89a-f]")
        message(FATAL_ERROR "${file}: GLSL sources must be plain ASCII")
    endif()
    string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    "
           bytes "${bytes}")
    string(APPEND definitions "extern const char ${symbol}[] = {\n    ${bytes}0x00};\n\n")
    string(APPEND table "    {\"${file}\", ${symbol}},\n")
    math(EXPR count "${count} + 1")
endforeach()
file(WRITE "${OUTPUT}.tmp"
     "// Generated from gl/shaders/ at build time; do not edit.\n"
     "#include \"gl/shader_sources.h\"\n\n"
     "namespace AESDK_OpenGL {\n\n"
     "${definitions}"
     "extern const EmbeddedShader kEmbeddedShaders[] = {\n${table}};\n"
     "extern const int kEmbeddedShaderCount = ${count};\n\n"
     "}  // namespace AESDK_OpenGL\n")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
