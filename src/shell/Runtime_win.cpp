// What the program takes from the C++ runtime for allocation. The library's
// own operator new reports failure by throwing, which links in the whole
// exception machinery (unwinder, terminate handler, demangler, a thread
// library); the program uses no exceptions, and an allocation that fails
// here has no recovery path, so it ends the program as TextString's do.
#include <cstdlib>
#include <new>

void* operator new(std::size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) std::abort();
  return block;
}

void* operator new[](std::size_t size) { return operator new(size); }

// The no-throw forms report failure by a null result, as callers expect.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }

void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

#if defined(__GLIBCXX__)
// The same for the containers: a std::vector asked to outgrow what memory can
// hold would throw through the library's helper, which brings the machinery
// back; here it ends the program as a failed allocation does.
namespace std {
void __throw_length_error(const char*) { std::abort(); }
}  // namespace std
#endif
