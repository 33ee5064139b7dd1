// The modal progress box of the search window's fetches (dialog 504): one
// HTTP request runs on a worker thread while the box shows its progress
// line, and the call returns the answer. The box has no cancel: Enter,
// Escape and close do nothing, and only the worker ends it, after the
// fetch's own time and size limits at the latest. Main thread only, but for
// the worker.
#pragma once

#include "toolkit/ByteBuffer.h"
#include "toolkit/Dialog.h"
#include "toolkit/KernelHandle.h"
#include "ui/search/FetchRequest.h"

// Posted by the worker to the box: wParam is the fetch's result.
constexpr UINT WM_FETCH_DONE = WM_USER + 5;

class FetchDialog : public Dialog {
 public:
  bool OnInitDialog(LRESULT* result) override;
  bool OnNcActivate(WPARAM wParam, LPARAM lParam) override;
  bool OnUserMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Waits until the worker has ended, dispatching what other threads send
  // to this one meanwhile. Nothing when none was started.
  void WaitForWorker();

  const char* url = nullptr;
  ByteBuffer* buffer = nullptr;
  FetchMethod method = kFetchGet;
  const FetchLimits* limits = &kDirectoryFetchLimits;
  // Set when the worker's result arrived.
  bool finished = false;

 private:
  static DWORD WINAPI Worker(void* dialog);

  KernelHandle worker;
};

// Fetches url into buffer (initialised by the caller) behind the box, owned
// by owner's window. Returns the bytes received for a 200 answer (the buffer
// then holds them and a NUL), or -1 after the box showed why for a second.
// Also -1, once the worker has ended, when the box went without the
// worker's result (its owner was destroyed as the program ended).
int FetchUrl(HWND owner, const char* url, ByteBuffer& buffer, FetchMethod method, const FetchLimits& limits);
