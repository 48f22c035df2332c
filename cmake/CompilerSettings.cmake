# Warnings, character sets and runtime linkage shared by every target.

if(MSVC)
  # Sources are UTF-8; the program's displayed texts are escaped bytes.
  add_compile_options(/W4 /permissive- /utf-8 /EHsc)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
else()
  add_compile_options(-Wall -Wextra -Wpedantic -Wconversion -Wshadow)
endif()

if(WIN32)
  # No UNICODE: every wide call is made by its W name, and the process
  # entry is the ANSI record.
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  if(MINGW)
    # The compiler runtime goes into the exe: no DLLs of our own to ship.
    add_link_options(-static -static-libgcc -static-libstdc++)
    # A small exe: unused code dropped, symbols stripped in release builds.
    add_compile_options(-ffunction-sections -fdata-sections)
    add_link_options(-Wl,--gc-sections "$<$<CONFIG:Release,MinSizeRel>:-s>")
  elseif(MSVC)
    set(CMAKE_MSVC_RUNTIME_LIBRARY "MultiThreaded$<$<CONFIG:Debug>:Debug>")
  endif()
endif()

if(QIRO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
