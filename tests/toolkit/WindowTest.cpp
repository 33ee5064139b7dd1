#include "toolkit/Window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "WindowTestResources.h"
#include "support/TestWindows.h"
#include "toolkit/TextString.h"
#include "toolkit/VirtualScreen.h"

namespace {

const char kProbeClass[] = "velmorin_probe";

// Records what reaches the finishing step, and handles a few slots.
class ProbeWindow : public Window {
 public:
  LRESULT FinishMessage(bool notHandled, LRESULT result, UINT message, WPARAM wParam, LPARAM lParam) override {
    finished.emplace_back(message, notHandled);
    return Window::FinishMessage(notHandled, result, message, wParam, lParam);
  }
  int FilterMessage(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
    if (message == WM_COMMAND && wParam == 99) {
      *result = 77;
      return 1;
    }
    return 0;
  }
  bool OnCreate(LPARAM createStruct) override {
    createParam = reinterpret_cast<CREATESTRUCTA*>(createStruct)->lpCreateParams;
    handleAtCreate = hwnd;
    return false;
  }
  bool OnCommand(WORD id, WORD code, LPARAM control) override {
    commands.push_back({id, code, control});
    return true;
  }
  bool OnNcHitTest(WORD x, WORD y, LRESULT* result) override {
    hitX = x;
    hitY = y;
    *result = HTCAPTION;
    return true;
  }
  bool OnUserMessage(UINT message, WPARAM, LPARAM) override {
    userMessages.push_back(message);
    return true;
  }
  bool OnMouseWheel(WORD keys, WORD delta, WORD x, WORD y) override {
    wheel = {keys, delta, x, y};
    return true;
  }

  bool Finished(UINT message, bool notHandled) const {
    return std::find(finished.begin(), finished.end(), std::make_pair(message, notHandled)) != finished.end();
  }

  struct Command {
    WORD id, code;
    LPARAM control;
  };
  std::vector<std::pair<UINT, bool>> finished;
  std::vector<Command> commands;
  std::vector<UINT> userMessages;
  void* createParam = nullptr;
  HWND handleAtCreate = nullptr;
  WORD hitX = 0, hitY = 0;
  struct {
    WORD keys, delta, x, y;
  } wheel = {};
};

class WindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    InitTestControls();
    Window::RegisterClass(kProbeClass, nullptr, nullptr, LoadCursor(nullptr, IDC_ARROW), nullptr, nullptr, 0);
  }
  void SetUp() override {
    ASSERT_TRUE(probe.Create(WS_EX_TOOLWINDOW, kProbeClass, "probe", WS_POPUP, 10, 20, 200, 100, nullptr,
                             nullptr));
  }
  void TearDown() override {
    if (probe.hwnd && IsWindow(probe.hwnd)) probe.Destroy();
  }
  ProbeWindow probe;
};

}  // namespace

TEST_F(WindowTest, CreationTiesTheWindowToItsObject) {
  EXPECT_EQ(&probe, probe.createParam);
  EXPECT_EQ(probe.hwnd, probe.handleAtCreate) << "hwnd is set before WM_CREATE arrives";
  EXPECT_EQ(reinterpret_cast<LONG_PTR>(&probe), GetWindowLongPtrA(probe.hwnd, GWLP_USERDATA));
  EXPECT_TRUE(probe.Finished(WM_NCCREATE, true)) << "not overridden: the default procedure answers it";
  EXPECT_TRUE(probe.Finished(WM_CREATE, true));
}

TEST_F(WindowTest, OverriddenSlotGetsDecodedArgumentsAndOthersGoToDefWindowProc) {
  EXPECT_EQ(0, probe.Send(WM_COMMAND, MAKEWPARAM(40001, 5), 1234));
  ASSERT_EQ(1u, probe.commands.size());
  EXPECT_EQ(40001, probe.commands[0].id);
  EXPECT_EQ(5, probe.commands[0].code);
  EXPECT_EQ(1234, probe.commands[0].control);
  EXPECT_TRUE(probe.Finished(WM_COMMAND, false));

  // No slot: DefWindowProcA keeps the text.
  probe.SetText("Velmorin \x95\x5c");
  TextString text;
  EXPECT_EQ(11, probe.GetText(text));
  EXPECT_STREQ("Velmorin \x95\x5c", text.CStr());
  EXPECT_TRUE(probe.Finished(WM_SETTEXT, true));
  // A slot that is not overridden: not handled, DefWindowProcA answers.
  EXPECT_EQ(0, probe.Send(WM_TIMER, 5, 0));
  EXPECT_TRUE(probe.Finished(WM_TIMER, true));
}

TEST_F(WindowTest, CoordinatesArriveAsUnsigned16Bits) {
  EXPECT_EQ(HTCAPTION, probe.Send(WM_NCHITTEST, 0, MAKELPARAM(-5, 10)));
  EXPECT_EQ(65531, probe.hitX);
  EXPECT_EQ(10, probe.hitY);

  probe.Send(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA), MAKELPARAM(300, -2));
  EXPECT_EQ(MK_CONTROL, probe.wheel.keys);
  EXPECT_EQ(static_cast<WORD>(-WHEEL_DELTA), probe.wheel.delta);
  EXPECT_EQ(300, probe.wheel.x);
  EXPECT_EQ(65534, probe.wheel.y);
  POINT screen = SignedPoint(probe.wheel.x, probe.wheel.y);
  EXPECT_EQ(300, screen.x);
  EXPECT_EQ(-2, screen.y) << "SignedPoint gives the coordinate back";
}

TEST(WindowClass, RegisteredOnceWithItsIconsWhenMissing) {
  const char name[] = "velmorin_once";
  HINSTANCE self = GetModuleHandleA(nullptr);
  ASSERT_TRUE(Window::RegisterClassIfMissing(name, IDI_TEST, nullptr));
  WNDCLASSEXA first = {};
  first.cbSize = sizeof first;
  ASSERT_TRUE(GetClassInfoExA(self, name, &first));
  EXPECT_NE(nullptr, first.hIcon);
  EXPECT_NE(nullptr, first.hIconSm);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), first.hCursor);
  EXPECT_EQ(&Window::WindowProc, first.lpfnWndProc);

  EXPECT_TRUE(Window::RegisterClassIfMissing(name, 0, nullptr)) << "the class is there: nothing to do";
  WNDCLASSEXA again = {};
  again.cbSize = sizeof again;
  ASSERT_TRUE(GetClassInfoExA(self, name, &again));
  EXPECT_EQ(first.hIcon, again.hIcon) << "the first registration stands";
  UnregisterClassA(name, self);
}

TEST_F(WindowTest, UserMessagesEndAt0x7FFF) {
  probe.Send(WM_USER, 0, 0);
  probe.Send(0x7FFF, 0, 0);
  probe.Send(0x8000, 0, 0);
  UINT registered = RegisterWindowMessageA("velmorin-test-message");
  probe.Send(registered, 0, 0);
  EXPECT_EQ((std::vector<UINT>{WM_USER, 0x7FFF}), probe.userMessages);
  EXPECT_TRUE(probe.Finished(0x8000, true));
  EXPECT_TRUE(probe.Finished(registered, true));
  EXPECT_TRUE(probe.Finished(0x7FFF, false));
}

TEST_F(WindowTest, FilterMessageEndsTheMessageWithItsResult) {
  size_t before = probe.finished.size();
  EXPECT_EQ(77, probe.Send(WM_COMMAND, 99, 0));
  EXPECT_TRUE(probe.commands.empty()) << "the slot does not run";
  EXPECT_EQ(before, probe.finished.size()) << "FinishMessage does not run";
  EXPECT_EQ(0, probe.Send(WM_COMMAND, 100, 0));
  EXPECT_EQ(1u, probe.commands.size());
}

TEST_F(WindowTest, DestroyIsHandledByDefault) {
  ASSERT_TRUE(probe.Destroy());
  EXPECT_TRUE(probe.Finished(WM_DESTROY, false));
  EXPECT_FALSE(probe.Finished(WM_DESTROY, true));
  EXPECT_TRUE(probe.Finished(WM_NCDESTROY, true));
}

TEST_F(WindowTest, WindowThatOutlivesItsObjectNoLongerReachesIt) {
  HWND window;
  {
    ProbeWindow shortLived;
    ASSERT_TRUE(shortLived.Create(0, kProbeClass, "short", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    window = shortLived.hwnd;
  }
  // The window outlives its object and no longer reaches it.
  EXPECT_EQ(0, GetWindowLongPtrA(window, GWLP_USERDATA));
  EXPECT_TRUE(SetWindowTextA(window, "still works"));
  char text[32] = {};
  GetWindowTextA(window, text, sizeof text);
  EXPECT_STREQ("still works", text);
  EXPECT_TRUE(DestroyWindow(window));
}

TEST_F(WindowTest, SizeAndPositionOperations) {
  POINT origin = probe.GetWindowOrigin();
  EXPECT_EQ(10, origin.x);
  EXPECT_EQ(20, origin.y);
  SIZE size = probe.GetWindowSize();
  EXPECT_EQ(200, size.cx);
  EXPECT_EQ(100, size.cy);

  EXPECT_TRUE(probe.SetSize(343, 20));
  origin = probe.GetWindowOrigin();
  EXPECT_EQ(10, origin.x) << "SetSize does not move";
  EXPECT_EQ(343, probe.GetClientSize().cx) << "a pop-up without border: client = window";
  EXPECT_TRUE(probe.SetPosition(30, 40));
  EXPECT_EQ(343, probe.GetWindowSize().cx) << "SetPosition does not size";

  RECT to = {5, 6, 105, 56};
  EXPECT_TRUE(probe.MoveToRect(to, false));
  RECT normal = {};
  ASSERT_TRUE(probe.GetNormalRect(normal));
  EXPECT_EQ(5, normal.left);
  EXPECT_EQ(6, normal.top);
  EXPECT_EQ(105, normal.right);
  EXPECT_EQ(56, normal.bottom);

  // Moving the normal rectangle of a hidden window keeps it hidden.
  probe.MoveNormalPosition(70, 80);
  EXPECT_FALSE(IsWindowVisible(probe.hwnd));
  POINT position = {};
  ASSERT_TRUE(probe.GetNormalPosition(position));
  EXPECT_EQ(70, position.x);
  EXPECT_EQ(80, position.y);
  EXPECT_EQ(100, probe.GetWindowSize().cx);

  probe.SetStyleBits(WS_CLIPCHILDREN, true);
  EXPECT_TRUE(probe.GetLong(GWL_STYLE) & WS_CLIPCHILDREN);
  probe.SetStyleBits(WS_CLIPCHILDREN, false);
  EXPECT_FALSE(probe.GetLong(GWL_STYLE) & WS_CLIPCHILDREN);

  Window gone;
  POINT untouched = {-1, -2};
  EXPECT_FALSE(gone.GetNormalPosition(untouched));
  EXPECT_EQ(-1, untouched.x);
}

TEST_F(WindowTest, RestorePositionCentresOrMovesAndKeepsOnScreen) {
  probe.SetSize(200, 200);
  probe.RestorePosition(-10000, 50, -10000);
  RECT work = {};
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  POINT origin = probe.GetWindowOrigin();
  EXPECT_EQ(work.left + (work.right - work.left - 200) / 2, origin.x);
  EXPECT_EQ(work.top + (work.bottom - work.top - 200) / 2, origin.y);

  probe.RestorePosition(15, 25, -10000);
  origin = probe.GetWindowOrigin();
  EXPECT_EQ(15, origin.x);
  EXPECT_EQ(25, origin.y);

  Rect screen = VirtualScreenRect();
  probe.RestorePosition(-30000, 30000, -10000);
  origin = probe.GetWindowOrigin();
  EXPECT_EQ(screen.left, origin.x);
  EXPECT_EQ(screen.bottom - 200, origin.y);
}

TEST_F(WindowTest, KeepOnScreenCorrectsAProposedPosition) {
  probe.SetSize(342, 19);
  Rect screen = VirtualScreenRect();
  WINDOWPOS proposed = {};
  proposed.hwnd = probe.hwnd;
  proposed.x = screen.left - 200;
  proposed.y = screen.bottom + 5000;
  probe.KeepOnScreen(&proposed);
  EXPECT_EQ(screen.left, proposed.x);
  EXPECT_EQ(screen.bottom - 19, proposed.y);
  if (screen.left == 0 && screen.top == 0 && screen.right == 1024 && screen.bottom == 768) {
    EXPECT_EQ(749, proposed.y);
  }

  // A change without a move carries no position to correct.
  WINDOWPOS sizeOnly = {};
  sizeOnly.flags = SWP_NOMOVE;
  sizeOnly.x = -5000;
  probe.KeepOnScreen(&sizeOnly);
  EXPECT_EQ(-5000, sizeOnly.x);

  // Without a record the window itself moves.
  probe.MoveNormalPosition(screen.right + 100, screen.top - 100);
  probe.KeepOnScreen(nullptr);
  POINT origin = probe.GetWindowOrigin();
  EXPECT_EQ(screen.right - 342, origin.x);
  EXPECT_EQ(screen.top, origin.y);
}

TEST_F(WindowTest, CenterOnAnotherWindow) {
  HostWindow other;
  probe.SetSize(100, 50);
  probe.CenterOn(other.Get());  // the host is 400 x 300 at (100, 100)
  POINT origin = probe.GetWindowOrigin();
  EXPECT_EQ(250, origin.x);
  EXPECT_EQ(225, origin.y);
}

TEST_F(WindowTest, TopmostOnAndOff) {
  probe.SetTopmost(true);
  EXPECT_TRUE(GetWindowLongA(probe.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  probe.SetTopmost(false);
  EXPECT_FALSE(GetWindowLongA(probe.hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(WindowGeometryOnRect, EnforceMinimumSizeOnASizingRectangle) {
  RECT r = {100, 100, 200, 150};
  EnforceMinimumSize(4, r, 200, 80);
  EXPECT_EQ(0, r.left);
  EXPECT_EQ(70, r.top);
  EXPECT_EQ(200, r.right);
  EXPECT_EQ(150, r.bottom);
}

namespace {
class LeaveProbe : public Window {
 public:
  bool OnMouseLeave() override {
    ++leaves;
    return true;
  }
  int leaves = 0;
};
}  // namespace

TEST_F(WindowTest, TrackMouseAsksForALeaveNotification) {
  LeaveProbe window;
  ASSERT_TRUE(window.Create(WS_EX_TOOLWINDOW, kProbeClass, "leave", WS_POPUP | WS_VISIBLE, 0, 0, 20, 20, nullptr,
                            nullptr));
  // Over the window, then away from it.
  SetCursorPos(10, 10);
  EXPECT_TRUE(window.TrackMouse(TME_LEAVE, 0));
  SetCursorPos(500, 500);
  EXPECT_TRUE(PumpUntil([&] { return window.leaves > 0; }, 20000));
  window.Destroy();
}
