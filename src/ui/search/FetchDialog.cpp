#include "ui/search/FetchDialog.h"

#include "toolkit/Platform.h"
#include "ui/search/FetchDialogRes.h"

namespace {

// A failure text stays this long before the box closes.
constexpr DWORD kFailureShownMs = 1000;

// The worker's progress and failure texts go to the box's line. The text is
// delivered to the main thread's window synchronously.
class ProgressLine final : public ProgressSink {
 public:
  explicit ProgressLine(HWND box) : dialog(box) {}
  void ShowProgress(const char* text) override { SetDlgItemTextA(dialog, IDC_FETCH_PROGRESS, text); }

 private:
  HWND dialog;
};

}  // namespace

bool FetchDialog::OnInitDialog(LRESULT* result) {
  SetTopmost(true);
  CenterOn(GetParent(hwnd));
  worker.Reset(CreateThread(nullptr, 0, &FetchDialog::Worker, this, 0, nullptr));
  // Without its worker nothing would ever end the box.
  if (!worker.IsValid()) EndModal(-1);
  *result = TRUE;
  return true;
}

// Losing the activation leaves the frame as it is.
bool FetchDialog::OnNcActivate(WPARAM wParam, LPARAM) { return wParam == 0; }

bool FetchDialog::OnUserMessage(UINT message, WPARAM wParam, LPARAM) {
  if (message != WM_FETCH_DONE) return false;
  finished = true;
  EndModal(static_cast<INT_PTR>(static_cast<int>(wParam)));
  return true;
}

DWORD WINAPI FetchDialog::Worker(void* object) {
  platform::NameCurrentThread("Velmorin fetch");
  // Everything of the box is read once, now: after posting its result the
  // worker touches nothing of the box, the URL or the buffer.
  const FetchDialog& box = *static_cast<FetchDialog*>(object);
  HWND dialog = box.hwnd;
  ProgressLine line(dialog);
  int result = RunFetch(box.url, *box.buffer, box.method, *box.limits, line);
  if (result < 0) platform::SleepMs(kFailureShownMs);
  PostMessageA(dialog, WM_FETCH_DONE, static_cast<WPARAM>(result), 0);
  return 0;
}

void FetchDialog::WaitForWorker() {
  HANDLE thread = worker.Get();
  if (!thread) return;
  // The worker may be setting the progress line of a box that is going:
  // messages sent from it are dispatched while waiting.
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

int FetchUrl(HWND owner, const char* url, ByteBuffer& buffer, FetchMethod method, const FetchLimits& limits) {
  FetchDialog box;
  box.url = url;
  box.buffer = &buffer;
  box.method = method;
  box.limits = &limits;
  INT_PTR result = box.RunModal(IDD_FETCH, owner);
  // The worker writes the caller's buffer until it posts its result; a box
  // that went without it (destroyed with its owner as the program ends)
  // must not hand the buffer back while the worker still fills it.
  if (!box.finished) {
    box.WaitForWorker();
    return -1;
  }
  return static_cast<int>(result);
}
