# The web build's C libraries, compiled from Debian's sources (fetched by scripts/install-deps
# into .cache/web-sources/, at the native -dev packages' versions, so PNG and GIF bytes match the
# native program's), and the header-only libraries taken from the machine. Each is given the
# target name the native build finds, so core/, jobs/ and cli/ link them unchanged.
enable_language(C)
set(PIXMORPH_WEB_SOURCES ${PROJECT_SOURCE_DIR}/.cache/web-sources)
foreach(library zlib libspng giflib)
  if(NOT EXISTS ${PIXMORPH_WEB_SOURCES}/${library}.stamp)
    message(FATAL_ERROR "${PIXMORPH_WEB_SOURCES}/${library} is missing: run scripts/install-deps")
  endif()
endforeach()

set(zlib_dir ${PIXMORPH_WEB_SOURCES}/zlib)
add_library(pixmorph_web_zlib STATIC
  ${zlib_dir}/adler32.c ${zlib_dir}/compress.c ${zlib_dir}/crc32.c ${zlib_dir}/deflate.c
  ${zlib_dir}/infback.c ${zlib_dir}/inffast.c ${zlib_dir}/inflate.c ${zlib_dir}/inftrees.c
  ${zlib_dir}/trees.c ${zlib_dir}/uncompr.c ${zlib_dir}/zutil.c)
target_include_directories(pixmorph_web_zlib SYSTEM PUBLIC ${zlib_dir})
target_compile_options(pixmorph_web_zlib PRIVATE -w)

set(spng_dir ${PIXMORPH_WEB_SOURCES}/libspng/spng)
add_library(pixmorph_web_spng STATIC ${spng_dir}/spng.c)
target_include_directories(pixmorph_web_spng SYSTEM PUBLIC ${spng_dir})
target_compile_definitions(pixmorph_web_spng PUBLIC SPNG_STATIC PRIVATE SPNG_DISABLE_OPT=1)
target_compile_options(pixmorph_web_spng PRIVATE -w)
target_link_libraries(pixmorph_web_spng PUBLIC pixmorph_web_zlib)
add_library(PkgConfig::SPNG ALIAS pixmorph_web_spng)

set(gif_dir ${PIXMORPH_WEB_SOURCES}/giflib)
add_library(pixmorph_web_gif STATIC
  ${gif_dir}/dgif_lib.c ${gif_dir}/egif_lib.c ${gif_dir}/gifalloc.c ${gif_dir}/gif_err.c
  ${gif_dir}/gif_font.c ${gif_dir}/gif_hash.c ${gif_dir}/openbsd-reallocarray.c
  ${gif_dir}/quantize.c)
target_include_directories(pixmorph_web_gif SYSTEM PUBLIC ${gif_dir})
target_compile_options(pixmorph_web_gif PRIVATE -w)
add_library(GIF::GIF ALIAS pixmorph_web_gif)

# nlohmann-json and CLI11 are headers only; /usr/include itself cannot be searched (its C
# headers would hide the compiler's own), so each gets a folder holding a link to its headers.
set(PIXMORPH_WEB_HEADERS ${PROJECT_BINARY_DIR}/web-headers)
foreach(library nlohmann_json CLI11)
  set(folder ${PIXMORPH_WEB_HEADERS}/${library})
  set(headers nlohmann)
  if(library STREQUAL "CLI11")
    set(headers CLI)
  endif()
  if(NOT EXISTS /usr/include/${headers})
    message(FATAL_ERROR "/usr/include/${headers} is missing: run scripts/install-deps")
  endif()
  file(MAKE_DIRECTORY ${folder})
  file(CREATE_LINK /usr/include/${headers} ${folder}/${headers} SYMBOLIC)
  add_library(pixmorph_web_${library} INTERFACE)
  target_include_directories(pixmorph_web_${library} SYSTEM INTERFACE ${folder})
  add_library(${library}::${library} ALIAS pixmorph_web_${library})
endforeach()
