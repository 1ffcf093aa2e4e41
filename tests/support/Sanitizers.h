#pragma once
// Whether the tests run in a sanitizer's build: a few checks meet what its runtime does to a
// process (a shadow of the whole address space, signals held back until a blocked call returns, a
// notice on standard error) rather than what the program does, and say so when they skip.

namespace kyv::test {

#if defined(__SANITIZE_THREAD__)
inline constexpr bool kUnderThreadSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
inline constexpr bool kUnderThreadSanitizer = true;
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif

#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kUnderAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

inline constexpr bool kUnderSanitizer = kUnderThreadSanitizer || kUnderAddressSanitizer;

}  // namespace kyv::test
