#pragma once
// Whether the tests run in a sanitizer's build: a few checks meet what its runtime does to a
// process (a shadow of the whole address space, signals held back until a blocked call returns, a
// notice on standard error) rather than what the program does, and say so when they skip.

#ifdef __has_feature
#define KYV_TEST_HAS_FEATURE(name) __has_feature(name)
#else
#define KYV_TEST_HAS_FEATURE(name) 0
#endif

namespace kyv::test {

#if defined(__SANITIZE_THREAD__) || KYV_TEST_HAS_FEATURE(thread_sanitizer)
inline constexpr bool kUnderThreadSanitizer = true;
#else
inline constexpr bool kUnderThreadSanitizer = false;
#endif

#if defined(__SANITIZE_ADDRESS__) || KYV_TEST_HAS_FEATURE(address_sanitizer)
inline constexpr bool kUnderAddressSanitizer = true;
#else
inline constexpr bool kUnderAddressSanitizer = false;
#endif

inline constexpr bool kUnderSanitizer = kUnderThreadSanitizer || kUnderAddressSanitizer;

}  // namespace kyv::test
