// Filling a run of 32-bit pixels with one value, the innermost loop of every filled shape.
// A portable loop is held to the baseline instruction set's 16-byte stores; long runs go to
// the processor's string store instead, which writes with the widest stores the machine has.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

#if defined(_MSC_VER) && (defined(_M_X64) || defined(_M_IX86))
#include <intrin.h>
#define KRT_STRING_STORE_MSVC 1
#elif (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__i386__))
#define KRT_STRING_STORE_ASM 1
#endif

inline void FillWords(std::uint32_t* p, std::ptrdiff_t n, std::uint32_t value)
{
    constexpr std::ptrdiff_t kStringStoreFrom = 256;  // below this the start-up cost dominates
    if (n < kStringStoreFrom) {
        std::fill_n(p, n, value);
        return;
    }
#if defined(KRT_STRING_STORE_MSVC)
    __stosd(reinterpret_cast<unsigned long*>(p), value, static_cast<size_t>(n));
#elif defined(KRT_STRING_STORE_ASM)
    std::size_t count = static_cast<std::size_t>(n);
    __asm__ volatile("rep stosl" : "+D"(p), "+c"(count) : "a"(value) : "memory");
#else
    std::fill_n(p, n, value);
#endif
}
