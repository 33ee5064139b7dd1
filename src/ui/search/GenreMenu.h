// The search window's genre menu, read from the packed genre list: what the
// menu holds and what each item searches for, without a menu handle. Groups
// are one level deep in the menu: a group inside a group adds its items to
// the outer one, without a label of its own.
#pragma once

#include "shell/GenreList.h"
#include "toolkit/TextString.h"

// Command ids of the items: the n-th item of the whole list (from 0) is
// kGenreFirstCommand + n. Items past the last id are listed with
// kGenreInertCommand and do nothing when chosen.
constexpr int kGenreFirstCommand = 10000;
constexpr int kGenreLastCommand = 10999;
constexpr int kGenreInertCommand = 11000;

// Receives the menu as it is read, in order. Items and separators go to
// the current menu: the root, or the submenu opened last until it closes.
class GenreMenuSink {
 public:
  virtual void AddItem(const char* label, int command) = 0;
  virtual void AddSeparator() = 0;
  // A submenu appended to the root with its label; it becomes the current menu.
  virtual void OpenSubmenu(const char* label) = 0;
  // The root becomes the current menu again.
  virtual void CloseSubmenu() = 0;

 protected:
  ~GenreMenuSink() = default;
};

// Walks the list into sink. Labels are the text before the first "|" (the
// whole text without one), with every "&" doubled so that the menu shows it
// rather than underlining the next letter. Returns false, calling nothing,
// when the list has no data.
bool ReadGenreMenu(const MemoryBlock& list, GenreMenuSink& sink);

// The search words of item n (counted as the commands count): the text
// after the first "|", or the whole text. False when there is no such item.
bool GenreSearchWords(const MemoryBlock& list, int n, TextString& words);
