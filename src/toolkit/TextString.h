// Growable 8-bit text in the ANSI code page. The whole block belongs to the
// caller for direct writing (Data, BufferSize); every walk over characters
// steps over double-byte characters whole.
#pragma once

#include <cstdarg>

class TextString {
 public:
  TextString();
  explicit TextString(int reserve);
  ~TextString();
  TextString(TextString&& other) noexcept;
  TextString& operator=(TextString&& other) noexcept;
  TextString(const TextString&) = delete;
  TextString& operator=(const TextString&) = delete;

  void Reserve(int n);
  int Capacity() const { return capacity; }
  int BufferSize() const { return capacity + 1; }
  char* Data() { return data; }
  const char* Data() const { return data; }
  const char* CStr() const { return data; }

  void Assign(const char* text);
  void Assign(const char* text, int count);
  void Append(const char* text);
  void Append(const char* text, int count);
  void AppendChar(char c);
  // Appends at end, the text's length as the caller keeps it, without
  // measuring the text and growing by doubling: many appends to a long text
  // stay linear. Returns the new length.
  int AppendAt(int end, const char* text, int count);
  // printf-style; the string grows to hold the whole result.
  void Format(const char* format, ...);
  void AppendFormat(const char* format, ...);

  int Length() const;
  void Clear() { data[0] = '\0'; }
  bool IsEmpty() const { return data[0] == '\0'; }
  char CharAt(int p) const;
  int SetCharAt(int p, char c);

  int Compare(const char* text) const;
  int CompareNoCase(const char* text) const;

  int Find(int start, char c) const;
  int FindLast(char c) const;
  void Substring(TextString& target, int start, int count) const;
  void ReplaceChar(char c, char r);
  void ReplaceAll(const char* search, const char* replacement);
  void TruncateBytes(int n);
  const char* Field(int index, char separator);

  void LoadResourceString(unsigned id);
  void RemoveFileName();
  void GetExtension(TextString& target) const;
  void GetBaseName(TextString& target) const;
  void ChangeExtension(const char* extension);
  void SetToExeDirectory(const char* fileName);

 private:
  void Grow(int newCapacity);
  void AppendFormatV(const char* format, va_list args);

  char* data;
  int capacity;
};
