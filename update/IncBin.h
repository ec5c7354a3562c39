#pragma once

#include <cstdint>
#include <span>

// Builds a file of resources/firmware/ into the program's read-only data; the build
// passes the folder as ZEL2_FIRMWARE_DIR.
#define ZEL2_INCBIN(name, file)                                                                  \
    __asm__(".section .rodata\n.balign 64\n.globl " #name "_start\n" #name "_start:\n.incbin \"" \
            ZEL2_FIRMWARE_DIR file "\"\n.globl " #name "_end\n" #name "_end:\n.previous\n");    \
    extern "C" const uint8_t name##_start[];                                                     \
    extern "C" const uint8_t name##_end[];

#define ZEL2_INCBIN_SPAN(name) std::span<const uint8_t>(name##_start, static_cast<size_t>(name##_end - name##_start))
