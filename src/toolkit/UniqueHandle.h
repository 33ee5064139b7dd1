// The one owner of a platform handle: move-only, closes what it holds.
// Traits give the handle type, its invalid value and how to close it:
//   struct Traits { using Handle = ...; static Handle Invalid(); static int Close(Handle); };
#pragma once

template <class Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() : handle(Traits::Invalid()) {}
  explicit UniqueHandle(Handle h) : handle(h) {}
  ~UniqueHandle() { Close(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle(other.Detach()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Detach());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  bool IsValid() const { return handle != Traits::Invalid(); }
  Handle Get() const { return handle; }

  Handle Detach() {
    Handle h = handle;
    handle = Traits::Invalid();
    return h;
  }

  void Reset(Handle h) {
    Close();
    handle = h;
  }

  // The platform's result of closing; callers that need "nothing was open"
  // test IsValid first.
  int Close() {
    if (!IsValid()) return 0;
    return Traits::Close(Detach());
  }

 private:
  Handle handle;
};
