#pragma once
// The state of the standard controls a form holds; views draw it and report events back.
#include <string>
#include <vector>

namespace vorn {

struct MenuItem {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  // A checked item becomes unchecked and the reverse; returns the new state as 0 or 1.
  int16_t Toggle() {
    checked = !checked;
    return checked ? 1 : 0;
  }
};

struct ListBox {
  std::vector<std::string> items;
  int selected = -1;
  bool enabled = true;
  bool visible = true;
  void AddItem(const std::string& item, int index = -1) {
    if (index < 0 || index > static_cast<int>(items.size())) {
      items.push_back(item);
    } else {
      items.insert(items.begin() + index, item);
    }
  }
  void Clear() {
    items.clear();
    selected = -1;
  }
};

struct TextBox {
  std::string text;
  bool enabled = true;
  bool visible = true;
};

struct Button {
  std::string caption;
  bool enabled = true;
  bool visible = true;
};

struct CheckBox {
  std::string caption;
  bool checked = false;
  bool enabled = true;
  bool visible = true;
};

// A timer that ticks every interval milliseconds while enabled (as fast as the system allows
// when that is shorter than its shortest period).
struct Timer {
  unsigned interval = 0;
  bool enabled = false;
};

// A group of option buttons; exactly one is selected.
struct OptionGroup {
  std::vector<std::string> captions;
  int selected = 0;
  bool enabled = true;
};

}  // namespace vorn
