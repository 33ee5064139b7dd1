#include "ui/search/FetchRequest.h"

#include <cstring>

#include "toolkit/Event.h"
#include "toolkit/Numbers.h"
#include "toolkit/Platform.h"

namespace {

constexpr int kDefaultPort = 80;
constexpr int kChunkBytes = 8192;
constexpr int kStatusOffset = 9;  // "HTTP/1.0 " comes before the status digits

constexpr char kConnecting[] = "\x90\xda\x91\xb1\x92\x86...";                   /* 接続中... */
constexpr char kReceivingStart[] = "\x8e\xf3\x90M\x92\x86 ... 0KB";            /* 受信中 ... 0KB */
constexpr char kConnectFailed[] = "\x90\xda\x91\xb1\x82\xc9\x8e\xb8\x94s";    /* 接続に失敗 */
constexpr char kReceiveFailed[] = "\x8e\xf3\x90M\x82\xc9\x8e\xb8\x94s";       /* 受信に失敗 */
constexpr char kNotHttp[] =
    "HTTP\xbb\xb0\xca\xde\x82\xc5\x82\xcd\x82\xa0\x82\xe8\x82\xdc\x82\xb9\x82\xf1";  /* HTTPｻｰﾊﾞではありません */
/* ｻｰﾊﾞｰに負荷がかかっています。\nしばらく待ってから試してみてください。 */
constexpr char kServerBusy[] =
    "\xbb\xb0\xca\xde\xb0\x82\xc9\x95\x89\x89\xd7\x82\xaa\x82\xa9\x82\xa9\x82\xc1\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81"
    "B\n\x82\xb5\x82\xce\x82\xe7\x82\xad\x91\xd2\x82\xc1\x82\xc4\x82\xa9\x82\xe7\x8e\x8e\x82\xb5\x82\xc4\x82\xdd\x82"
    "\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81"
    "B";
constexpr char kHttpError[] = "HTTP\xb4\xd7\xb0 %d";  /* HTTPｴﾗｰ %d */

// Passes the progress on and ends the receive once the answer passes its
// ceiling or the fetch its deadline. The client has no hook between two
// reads that bring data, so both ways are taken: the set event ends its
// wait at once, the released buffer its next append, whichever comes first
// whether the server pauses, sends on or closes.
class LimitedProgress final : public ProgressSink {
 public:
  LimitedProgress(ProgressSink& shownTo, ByteBuffer& answer, const FetchLimits& bounds, std::uint32_t startTick)
      : shown(shownTo), body(answer), limits(bounds), start(startTick), startLength(answer.length) {
    abort.Create(true);
  }

  void ShowProgress(const char* text) override {
    shown.ShowProgress(text);
    if (body.length - startLength > limits.answerCeiling || platform::TickCount() - start > limits.deadlineMs) {
      abort.Set();
      body.Release();
    }
  }

  // Manual reset: once set it ends the client's waits for good.
  Event abort;

 private:
  ProgressSink& shown;
  ByteBuffer& body;
  const FetchLimits& limits;
  std::uint32_t start;
  std::uint32_t startLength;
};

}  // namespace

bool CheckAnswer(const std::uint8_t* answer, std::uint32_t length, TextString& failure) {
  if (length < 4 || std::memcmp(answer, "HTTP", 4) != 0) {
    failure.Assign(kNotHttp);
    return false;
  }
  // The digits are read from a bounded copy: the answer need not end in a NUL.
  char digits[32] = {};
  if (length > kStatusOffset) {
    std::uint32_t n = length - kStatusOffset;
    std::memcpy(digits, answer + kStatusOffset, n < sizeof digits - 1 ? n : sizeof digits - 1);
  }
  int status = ReadDecimal(digits);
  if (status == 200) return true;
  if (status == 503) {
    failure.Assign(kServerBusy);
  } else {
    failure.Format(kHttpError, status);
  }
  return false;
}

int RunFetch(const char* url, ByteBuffer& buffer, FetchMethod method, const FetchLimits& limits, ProgressSink& sink) {
  LimitedProgress progress(sink, buffer, limits, platform::TickCount());
  HttpClient client;
  client.SetStopEvent(&progress.abort);
  TextString failure;
  sink.ShowProgress(kConnecting);
  if (!client.Open(url, kDefaultPort)) {
    failure.Assign(kConnectFailed);
  } else {
    client.SendRequest(method == kFetchPost);
    sink.ShowProgress(kReceivingStart);
    int received = client.ReceiveAllWithProgress(buffer, kChunkBytes, &progress);
    if (received < 0) {
      failure.Assign(kReceiveFailed);
    } else if (CheckAnswer(buffer.data, static_cast<std::uint32_t>(received), failure)) {
      client.Close();
      return received;
    }
  }
  sink.ShowProgress(failure.CStr());
  client.Close();
  return -1;
}
