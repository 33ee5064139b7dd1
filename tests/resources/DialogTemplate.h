// Reader of an extended dialog template (DLGTEMPLATEEX) from the test
// program's resources, so the tests can check every control as compiled.
#pragma once

#include <string>
#include <vector>

struct DialogItem {
  unsigned long style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  std::string className;  // predefined classes by name: "Button", "Edit", "Static"
  std::string text;       // code page 932; "#n" for a resource ordinal
};

struct DialogTemplate {
  bool valid = false;
  unsigned long style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::string caption;
  int pointSize = 0;
  int weight = 0;
  int charset = 0;
  std::string face;
  std::vector<DialogItem> items;
};

DialogTemplate ReadDialogTemplate(int id);
