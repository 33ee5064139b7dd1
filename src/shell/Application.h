// The program's life: the global objects, the start-up order, saving at the
// end and releasing the player and the network. Main thread only.
#pragma once

class FavoritesWindow;
class MainWindow;
class SearchWindow;
class SideWindowHost;
class SkinCanvas;
class StreamPlayer;

extern StreamPlayer gPlayer;
extern SkinCanvas gCanvas;
extern SideWindowHost gSideWindows;
extern MainWindow gMainWindow;
extern SearchWindow gSearchWindow;
extern FavoritesWindow gFavoritesWindow;

// Everything from the current directory to the bar on the screen; false when
// the program cannot run (the caller then shuts down and exits).
bool Initialize();
// The files the program keeps, written while its windows still exist: the
// favorites first, then the settings.
void SaveAll();
// The player's thread and buffers, then WinSock.
void Shutdown();
// What the start leaves for the message loop, once the bar is on the screen:
// the favorites window when it starts hidden.
void FinishStart();
