#pragma once
// Whether the tests run in a ThreadSanitizer build: a few checks meet what its runtime does to a
// process (a shadow of the whole address space, signals held back until a blocked call returns)
// rather than what the program does, and say so when they skip.

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

}  // namespace kyv::test
