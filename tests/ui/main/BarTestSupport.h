// Windows tests of the bar: a real MainWindow over the built-in skin, with a
// player that never plays, start-up's side windows and lifecycle hooks that
// count. The modal boxes the bar opens are answered with AnswerModalBox
// (support/TestWindows.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/StreamPlayer.h"
#include "shell/SideWindowHost.h"
#include "ui/main/MainWindow.h"
#include "support/TestWindows.h"
#include "ui/main/SkinCanvas.h"

// Records every command; passes it on to the bar only when asked to.
class RecordingBar : public MainWindow {
 public:
  using MainWindow::MainWindow;
  bool OnCommand(WORD id, WORD code, LPARAM control) override {
    commands.push_back(id);
    return forward ? MainWindow::OnCommand(id, code, control) : true;
  }
  std::vector<int> commands;
  bool forward = false;
};

struct LifecycleCounts {
  int saves = 0;
  int shutdowns = 0;
  bool windowAliveAtSave = false;
};
extern LifecycleCounts gLifecycle;

class BarFixture {
 public:
  // The bar at (x, y) with the built-in skin, shown; settings at defaults
  // but for the volume.
  BarFixture(int x, int y, int volume);
  ~BarFixture();
  BarFixture(const BarFixture&) = delete;
  BarFixture& operator=(const BarFixture&) = delete;

  // A client-area mouse message at (x, y), sent as the system would.
  void Mouse(UINT message, int x, int y);
  // The element shows this frame of its sheet rectangle.
  bool ShowsFrame(int element, int frame);
  std::uint32_t At(int x, int y) const { return *canvas.WindowImage().PixelAt(x, y); }
  // Pixels of the colour in the title area.
  int TitleInk(std::uint32_t color) const;
  bool TitleShowsBackground();

  StreamPlayer player;
  SkinCanvas canvas;
  SideWindowHost sideWindows;
  RecordingBar bar;
};
